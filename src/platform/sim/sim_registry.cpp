#include "platform/sim/sim_registry.h"

#include <algorithm>
#include <cstring>

#include "text/name_case.h"
#include "text/utf8.h"

namespace vw::sim {

namespace {

constexpr long kKeyDeleted = 1018;  // ERROR_KEY_DELETED

constexpr long kInvalidParameter = 87;

// What the Win32 backend can pass on: UTF-8 without a NUL.
bool IsName(const std::string& name) {
    std::u16string units;
    return name.find('\0') == std::string::npos && Utf8ToUtf16(name, units);
}

// The platform's own measure of a name.
std::uint32_t Units(const std::string& name) {
    std::u16string units;
    Utf8ToUtf16(name, units);
    return static_cast<std::uint32_t>(units.size());
}

bool IsRoot(HKey key) {
    return key >= hkey::kClassesRoot && key <= hkey::kPerformanceData;
}

// Copies a name and its NUL into a caller's buffer the way the platform
// does: the capacity must hold the NUL, and on success the size is the
// length without it. A short buffer leaves the size as it was: the platform
// does not tell how much a name needs.
long CopyName(const std::string& name, char* buffer, std::uint32_t* size) {
    if (!size) return kInvalidParameter;
    if (name.size() >= *size) return regstatus::kMoreData;
    if (buffer) std::memcpy(buffer, name.c_str(), name.size() + 1);
    *size = static_cast<std::uint32_t>(name.size());
    return regstatus::kSuccess;
}

long CopyData(const std::string& data, char* buffer, std::uint32_t* size) {
    if (!size) return buffer ? kInvalidParameter : regstatus::kSuccess;
    const auto needed = static_cast<std::uint32_t>(data.size());
    if (buffer && *size < needed) {
        *size = needed;
        return regstatus::kMoreData;
    }
    if (buffer) std::memcpy(buffer, data.data(), data.size());
    *size = needed;
    return regstatus::kSuccess;
}

}  // namespace

SimRegistry::Node* SimRegistry::Root(HKey root) {
    if (!IsRoot(root)) return nullptr;
    auto& node = roots_[root];
    if (!node) node = std::make_unique<Node>();
    return node.get();
}

const SimRegistry::Node* SimRegistry::Root(HKey root) const {
    const auto it = roots_.find(root);
    return it == roots_.end() ? nullptr : it->second.get();
}

SimRegistry::Node* SimRegistry::Resolve(HKey key) {
    if (IsRoot(key)) return Root(key);
    const auto it = handles_.find(key);
    return it == handles_.end() ? nullptr : it->second;
}

SimRegistry::Node* SimRegistry::Walk(Node* from, const std::string& path) {
    Node* node = from;
    std::size_t start = 0;
    while (node && start < path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) {
            const auto it = node->subKeys.find(UpcaseName(path.substr(start, end - start)));
            node = it == node->subKeys.end() ? nullptr : it->second.get();
        }
        start = end + 1;
    }
    return node;
}

SimRegistry::Node* SimRegistry::Find(HKey root, const std::string& path) const {
    const Node* r = Root(root);
    return r ? Walk(const_cast<Node*>(r), path) : nullptr;
}

SimRegistry::Node* SimRegistry::Create(Node* from, const std::string& path) {
    Node* node = from;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) {
            const std::string name = path.substr(start, end - start);
            auto& child = node->subKeys[UpcaseName(name)];
            if (!child) {
                if (node->denyAll) return nullptr;
                child = std::make_unique<Node>();
                child->name = name;
                child->parent = node;
            }
            node = child.get();
        }
        start = end + 1;
    }
    return node;
}

HKey SimRegistry::NewHandle(Node* node) {
    const HKey handle = nextHandle_;
    nextHandle_ += 4;
    handles_[handle] = node;
    return handle;
}

SimRegistry::Value* SimRegistry::FindValue(Node* node, const std::string& name) {
    const std::string wanted = UpcaseName(name);
    for (Value& v : node->values) {
        if (UpcaseName(v.name) == wanted) return &v;
    }
    return nullptr;
}

void SimRegistry::AddKey(HKey root, const std::string& path) {
    Create(Root(root), path);
}

void SimRegistry::SetValue(HKey root, const std::string& path, const std::string& name,
                           std::uint32_t type, const std::string& data) {
    Node* node = Create(Root(root), path);
    if (!node) return;
    if (Value* v = FindValue(node, name)) {
        v->type = type;
        v->data = data;
    } else {
        node->values.push_back({name, type, data});
    }
}

void SimRegistry::SetString(HKey root, const std::string& path, const std::string& name,
                            const std::string& text) {
    SetValue(root, path, name, regtype::kSz, text + '\0');
}

void SimRegistry::DenyAll(HKey root, const std::string& path) {
    if (Node* node = Find(root, path)) node->denyAll = true;
}

void SimRegistry::RefuseDelete(HKey root, const std::string& path) {
    if (Node* node = Find(root, path)) node->refuseDelete = true;
}

void SimRegistry::RefuseValueDelete(HKey root, const std::string& path, const std::string& name) {
    Node* node = Find(root, path);
    if (Value* v = node ? FindValue(node, name) : nullptr) v->refuseDelete = true;
}

bool SimRegistry::KeyExists(HKey root, const std::string& path) const {
    return Find(root, path) != nullptr;
}

bool SimRegistry::ValueExists(HKey root, const std::string& path, const std::string& name) const {
    Node* node = Find(root, path);
    return node && const_cast<SimRegistry*>(this)->FindValue(node, name) != nullptr;
}

std::vector<std::string> SimRegistry::SubKeyNames(HKey root, const std::string& path) const {
    std::vector<std::string> names;
    if (const Node* node = Find(root, path)) {
        for (const auto& [upper, child] : node->subKeys) names.push_back(child->name);
    }
    return names;
}

std::vector<std::string> SimRegistry::ValueNames(HKey root, const std::string& path) const {
    std::vector<std::string> names;
    if (const Node* node = Find(root, path)) {
        for (const Value& v : node->values) names.push_back(v.name);
    }
    return names;
}

long SimRegistry::RegCreateKeyA(HKey key, const std::string& subKey, HKey& result) {
    faults_.Check("RegCreateKeyA");
    result = 0;
    if (!IsName(subKey)) return kInvalidParameter;
    Node* from = Resolve(key);
    if (!from) return regstatus::kInvalidHandle;
    if (from->deleted) return kKeyDeleted;
    Node* node = Create(from, subKey);
    if (!node || node->denyAll) return regstatus::kAccessDenied;
    result = NewHandle(node);
    return regstatus::kSuccess;
}

long SimRegistry::Open(HKey key, const std::string& subKey, HKey& result) {
    result = 0;
    if (!IsName(subKey)) return regstatus::kFileNotFound;
    Node* from = Resolve(key);
    if (!from) return regstatus::kInvalidHandle;
    if (from->deleted) return kKeyDeleted;
    Node* node = Walk(from, subKey);
    if (!node) return regstatus::kFileNotFound;
    if (node->denyAll) return regstatus::kAccessDenied;
    result = NewHandle(node);
    return regstatus::kSuccess;
}

long SimRegistry::RegOpenKeyA(HKey key, const std::string& subKey, HKey& result) {
    faults_.Check("RegOpenKeyA");
    // The platform hands an empty path its caller's own handle back, unchecked.
    if (subKey.empty()) {
        result = key;
        return regstatus::kSuccess;
    }
    return Open(key, subKey, result);
}

long SimRegistry::RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t /*options*/,
                                std::uint32_t /*samDesired*/, HKey& result) {
    faults_.Check("RegOpenKeyExA");
    return Open(key, subKey, result);
}

long SimRegistry::RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type,
                                   char* data, std::uint32_t* dataSize) {
    if (!IsName(valueName)) return regstatus::kFileNotFound;
    Node* node = Resolve(key);
    if (!node) return regstatus::kInvalidHandle;
    if (node->deleted) return kKeyDeleted;
    const Value* v = FindValue(node, valueName);
    if (!v) return regstatus::kFileNotFound;
    if (type) *type = v->type;
    return CopyData(v->data, data, dataSize);
}

long SimRegistry::RegDeleteValueA(HKey key, const std::string& valueName) {
    faults_.Check("RegDeleteValueA");
    if (!IsName(valueName)) return regstatus::kFileNotFound;
    Node* node = Resolve(key);
    if (!node) return regstatus::kInvalidHandle;
    if (node->deleted) return kKeyDeleted;
    const std::string wanted = UpcaseName(valueName);
    const auto it = std::find_if(node->values.begin(), node->values.end(),
                                 [&](const Value& v) { return UpcaseName(v.name) == wanted; });
    if (it == node->values.end()) return regstatus::kFileNotFound;
    if (it->refuseDelete) return regstatus::kAccessDenied;
    node->values.erase(it);
    return regstatus::kSuccess;
}

long SimRegistry::RegDeleteKeyA(HKey key, const std::string& subKey) {
    faults_.Check("RegDeleteKeyA");
    if (!IsName(subKey)) return regstatus::kFileNotFound;
    Node* from = Resolve(key);
    if (!from) return regstatus::kInvalidHandle;
    if (from->deleted) return kKeyDeleted;
    Node* node = Walk(from, subKey);
    if (!node) return regstatus::kFileNotFound;
    if (!node->parent || !node->subKeys.empty() || node->refuseDelete) {
        return regstatus::kAccessDenied;
    }
    // Open handles keep the key object alive, marked deleted.
    Node* parent = node->parent;
    const auto it = parent->subKeys.find(UpcaseName(node->name));
    node->deleted = true;
    node->parent = nullptr;
    deletedKeys_.push_back(std::move(it->second));
    parent->subKeys.erase(it);
    return regstatus::kSuccess;
}

long SimRegistry::RegQueryInfoKeyA(HKey key, std::uint32_t* subKeys, std::uint32_t* maxSubKeyLen,
                                   std::uint32_t* values, std::uint32_t* maxValueNameLen,
                                   std::uint32_t* maxValueLen) {
    Node* node = Resolve(key);
    if (!node) return regstatus::kInvalidHandle;
    if (node->deleted) return kKeyDeleted;
    std::uint32_t maxSub = 0, maxName = 0, maxData = 0;
    for (const auto& [upper, child] : node->subKeys) {
        maxSub = std::max(maxSub, Units(child->name));
    }
    for (const Value& v : node->values) {
        maxName = std::max(maxName, Units(v.name));
        maxData = std::max<std::uint32_t>(maxData, static_cast<std::uint32_t>(v.data.size()));
    }
    if (subKeys) *subKeys = static_cast<std::uint32_t>(node->subKeys.size());
    if (maxSubKeyLen) *maxSubKeyLen = maxSub;
    if (values) *values = static_cast<std::uint32_t>(node->values.size());
    if (maxValueNameLen) *maxValueNameLen = maxName;
    if (maxValueLen) *maxValueLen = maxData;
    return regstatus::kSuccess;
}

long SimRegistry::RegEnumKeyExA(HKey key, std::uint32_t index, char* name,
                                std::uint32_t* nameSize) {
    Node* node = Resolve(key);
    if (!node) return regstatus::kInvalidHandle;
    if (node->deleted) return kKeyDeleted;
    if (index >= node->subKeys.size()) return regstatus::kNoMoreItems;
    return CopyName(std::next(node->subKeys.begin(), index)->second->name, name, nameSize);
}

long SimRegistry::RegEnumValueA(HKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                                std::uint32_t* type, unsigned char* data, std::uint32_t* dataSize) {
    Node* node = Resolve(key);
    if (!node) return regstatus::kInvalidHandle;
    if (node->deleted) return kKeyDeleted;
    if (index >= node->values.size()) return regstatus::kNoMoreItems;
    const Value& v = node->values[index];
    const long status = CopyName(v.name, name, nameSize);
    if (status != regstatus::kSuccess) return status;
    if (type) *type = v.type;
    return CopyData(v.data, reinterpret_cast<char*>(data), dataSize);
}

long SimRegistry::RegCloseKey(HKey key) {
    if (IsRoot(key)) return regstatus::kSuccess;
    return handles_.erase(key) ? regstatus::kSuccess : regstatus::kInvalidHandle;
}

}  // namespace vw::sim
