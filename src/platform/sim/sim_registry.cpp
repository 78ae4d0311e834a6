#include "platform/sim/sim_registry.h"

#include <algorithm>

#include "text/name_case.h"
#include "text/utf8.h"

namespace vw::sim {

namespace {

// The rights the calls below need on their key object.
constexpr std::uint32_t kQueryValue = 0x1, kSetValue = 0x2, kEnumerate = 0x8;
constexpr std::uint32_t kAllRights = ~0u;

}  // namespace

SimRegistry::Value* SimRegistry::Node::Find(const std::string& name) {
    for (Value& v : values) {
        if (UpcaseName(v.name) == UpcaseName(name) && IsPlatformName(name)) return &v;
    }
    return nullptr;
}

void SimRegistry::Node::Remove() {
    status = regstatus::kKeyDeleted;
    for (auto& [upper, child] : subKeys) {
        child->parent = nullptr;
        child->Remove();
    }
    // Last: this may be what frees the node.
    if (parent) parent->subKeys.erase(UpcaseName(name));
}

class SimRegistry::Key final : public RegKey {
  public:
    // A null node is no key; `open` is null for a root.
    Key(NodePtr node, std::shared_ptr<int> open, std::uint32_t rights)
        : node_(std::move(node)), open_(std::move(open)), rights_(rights) {}
    const NodePtr& node() const { return node_; }

    RegOpen OpenKey(const std::string& path, std::uint32_t rights) override {
        return Open(path, rights, false);
    }
    RegOpen CreateKey(const std::string& path) override { return Open(path, 0, true); }
    RegRead QueryValue(const std::string& name) override {
        const long s = Lacks(kQueryValue);
        const Value* v = s ? nullptr : node_->Find(name);
        if (!v) return {s ? s : regstatus::kFileNotFound, regtype::kNone, {}};
        return {regstatus::kSuccess, v->type, v->data};
    }
    long DeleteValue(const std::string& name) override {
        const long s = Lacks(kSetValue);
        const Value* v = s ? nullptr : node_->Find(name);
        if (!v) return s ? s : regstatus::kFileNotFound;
        if (v->refuseDelete) return regstatus::kAccessDenied;
        node_->values.erase(node_->values.begin() + (v - node_->values.data()));
        return regstatus::kSuccess;
    }
    long DeleteKey(const std::string& path) override {
        const auto node = Status() ? nullptr : Walk(node_, path, false);
        if (!node) return Status() ? Status() : regstatus::kFileNotFound;
        if (!node->parent || !node->subKeys.empty() || node->refuseDelete) {
            return regstatus::kAccessDenied;
        }
        node->Remove();
        return regstatus::kSuccess;
    }
    long ProbeDeleteKey(const std::string& path) override {
        const auto node = Status() ? nullptr : Walk(node_, path, false);
        if (!node) return Status() ? Status() : regstatus::kFileNotFound;
        return !node->parent || node->refuseDelete ? regstatus::kAccessDenied : regstatus::kSuccess;
    }
    RegInfo QueryInfo() override {
        if (Status()) return {Status(), {}};
        return {regstatus::kSuccess,
                {std::uint32_t(node_->subKeys.size()), std::uint32_t(node_->values.size())}};
    }
    RegName SubKeyName(std::uint32_t i) override { return NameAt(&Node::KeyNames, kEnumerate, i); }
    RegName ValueName(std::uint32_t i) override {
        return NameAt(&Node::ValueNames, kQueryValue, i);
    }

  private:
    long Status() const { return node_ ? node_->status : regstatus::kInvalidHandle; }
    // What a call needing `rights` on this key object answers before it starts.
    long Lacks(std::uint32_t rights) const {
        return Status() ? Status() : (rights_ & rights) == rights ? 0 : regstatus::kAccessDenied;
    }
    RegName NameAt(std::vector<std::string> (Node::*list)() const, std::uint32_t rights,
                   std::uint32_t index) {
        if (const long s = Lacks(rights)) return {s, {}};
        const auto names = (*node_.*list)();
        if (index >= names.size()) return {regstatus::kNoMoreItems, {}};
        return {regstatus::kSuccess, names[index]};
    }
    // Rights 0 stand for the platform's default: every right a key grants, so
    // none on a key denying all, which refuses any right asked for.
    RegOpen Open(const std::string& path, std::uint32_t rights, bool create) {
        if (Status()) return {Status(), nullptr};
        if (create && !IsPlatformName(path)) return {regstatus::kInvalidParameter, nullptr};
        auto node = Walk(node_, path, create);
        if (!node) return {regstatus::kFileNotFound, nullptr};
        if (node->denyAll && rights) return {regstatus::kAccessDenied, nullptr};
        const std::uint32_t granted = rights ? rights : node->denyAll ? 0 : kAllRights;
        return {regstatus::kSuccess, std::make_unique<Key>(std::move(node), open_, granted)};
    }

    NodePtr node_;
    std::shared_ptr<int> open_;
    std::uint32_t rights_;
};

SimRegistry::SimRegistry() {
    for (HKey root = hkey::kClassesRoot; root <= hkey::kPerformanceData; ++root) {
        roots_.push_back(std::make_unique<Key>(std::make_shared<Node>(), nullptr, kAllRights));
    }
    roots_.push_back(std::make_unique<Key>(nullptr, nullptr, kAllRights));
}

SimRegistry::~SimRegistry() = default;

RegKey& SimRegistry::Root(HKey root) {
    return *roots_[RootSlot(root)];
}

SimRegistry::NodePtr SimRegistry::Walk(NodePtr from, const std::string& path, bool create) {
    if (!IsPlatformName(path)) return nullptr;
    for (std::size_t start = 0, end = 0; from && start < path.size(); start = end + 1) {
        end = std::min(path.find('\\', start), path.size());
        const std::string name = path.substr(start, end - start);
        if (name.empty()) continue;
        Node& at = *from;
        auto& child = at.subKeys[UpcaseName(name)];
        if (!child && create) child = std::make_shared<Node>(Node{name, &at, {}, {}});
        from = child;
        if (!from) at.subKeys.erase(UpcaseName(name));
    }
    return from;
}

SimRegistry::NodePtr SimRegistry::Find(HKey root, const std::string& path, bool create) const {
    const NodePtr& node = roots_[RootSlot(root)]->node();
    return node ? Walk(node, path, create) : nullptr;
}

SimRegistry::Node& SimRegistry::At(HKey root, const std::string& path) const {
    const NodePtr node = Find(root, path);
    return node ? *node : (missing_ = Node{});
}

void SimRegistry::SetValue(HKey root, const std::string& path, const std::string& name,
                           std::uint32_t type, const std::string& data) {
    const NodePtr node = Find(root, path, true);
    Value* v = node ? node->Find(name) : nullptr;
    if (node && !v) v = &node->values.emplace_back(Value{name, {}, 0});
    if (v) *v = {v->name, data, type, v->refuseDelete};
}

}  // namespace vw::sim
