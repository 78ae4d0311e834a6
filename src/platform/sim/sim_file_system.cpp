#include "platform/sim/sim_file_system.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/run_error.h"
#include "text/name_case.h"
#include "text/utf8.h"

namespace vw::sim {

namespace {

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// Only the last star is ever retried: trying every length for every star
// takes exponential time on a mask of many stars. Names compare unit by unit
// through the platform's upper-case table.
bool Match(const char16_t* m, const char16_t* n) {
    const char16_t* star = nullptr;
    const char16_t* resume = nullptr;
    while (*n) {
        if (*m == u'*') {
            star = m++;
            resume = n;
        } else if (*m && (*m == u'?' || UpcaseUnit(*m) == UpcaseUnit(*n))) {
            ++m;
            ++n;
        } else if (star) {
            m = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (*m == u'*') ++m;
    return !*m;
}

// A name's units; bytes that are no UTF-8 stand for themselves.
std::u16string Units(const std::string& text) {
    std::u16string units;
    if (Utf8ToUtf16(text, units)) return units;
    return std::u16string(text.begin(), text.end());
}

class VectorListing : public RawListing {
  public:
    explicit VectorListing(std::vector<DirEntry> entries) : entries_(std::move(entries)) {}
    bool Next(DirEntry& entry) override {
        if (next_ >= entries_.size()) return false;
        entry = entries_[next_++];
        return true;
    }

  private:
    std::vector<DirEntry> entries_;
    std::size_t next_ = 0;
};

std::string ParentPath(std::string path) {
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path.substr(0, path.rfind('\\'));
}

std::string LastName(std::string path) {
    while (!path.empty() && path.back() == '\\') path.pop_back();
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
    return text;
}

[[noreturn]] void RaiseAccess() {
    throw RunError(errnum::kPathFileAccessError, "Path/File access error");
}
[[noreturn]] void RaiseInUse() {
    throw RunError(errnum::kPermissionDenied, "Permission denied");
}
[[noreturn]] void RaisePathNotFound() {
    throw RunError(errnum::kPathNotFound, "Path not found");
}

// Attribute bits SetFileAttributesA can change.
constexpr std::uint32_t kSettable =
    attr::kReadOnly | attr::kHidden | attr::kSystem | attr::kArchive | 0x100 | 0x2000;

}  // namespace

// Our own handle to a file: it keeps the file from being deleted until closed.
class SimFileSystem::OpenFile final : public BinaryFile {
  public:
    OpenFile(SimFileSystem& fs, std::string key) : fs_(fs), key_(std::move(key)) {}
    ~OpenFile() override {
        fs_.journal_.push_back("close");
        const auto it = fs_.nodes_.find(key_);
        if (it != fs_.nodes_.end()) --it->second.openedByUs;
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    std::uint64_t Length() override { return Self().content.size(); }

    void WriteAt(std::uint64_t offset, std::string_view bytes) override {
        fs_.journal_.push_back(
            "write " + std::to_string(offset) + " " + std::to_string(bytes.size()) +
            (bytes.empty() ? "" : " " + Hex(static_cast<unsigned char>(bytes.front()))));
        fs_.faults_.Check("WriteAt");
        std::string& content = Self().content;
        const auto at = static_cast<std::size_t>(offset);
        if (content.size() < at + bytes.size()) content.resize(at + bytes.size(), '\0');
        content.replace(at, bytes.size(), bytes);
    }

    void Flush() override {
        fs_.journal_.push_back("flush");
        fs_.faults_.Check("Flush");
    }

  private:
    Node& Self() {
        const auto it = fs_.nodes_.find(key_);
        if (it == fs_.nodes_.end()) RaiseAccess();
        return it->second;
    }

    SimFileSystem& fs_;
    std::string key_;
};

bool WildcardMatch(const std::string& mask, const std::string& name) {
    const std::u16string m = Units(mask), n = Units(name);
    if (Match(m.c_str(), n.c_str())) return true;
    const bool dotStar = m.size() >= 2 && m.compare(m.size() - 2, 2, u".*") == 0;
    return dotStar && n.find(u'.') == std::u16string::npos &&
           Match(m.substr(0, m.size() - 2).c_str(), n.c_str());
}

std::string SimFileSystem::Key(const std::string& path) {
    std::string key;
    for (char c : path) {
        // The platform reads "C:\\dir" as "C:\dir".
        if (c == '\\' && !key.empty() && key.back() == '\\') continue;
        key += c;
    }
    while (!key.empty() && key.back() == '\\') key.pop_back();
    return UpcaseName(key);
}

std::string SimFileSystem::Parent(const std::string& key) {
    const auto slash = key.rfind('\\');
    return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

std::string SimFileSystem::Resolve(const std::string& path, bool followLast) const {
    const std::string key = Key(path);
    std::string resolved;
    std::size_t start = 0;
    while (start <= key.size()) {
        auto end = key.find('\\', start);
        if (end == std::string::npos) end = key.size();
        resolved += (resolved.empty() ? "" : "\\") + key.substr(start, end - start);
        const bool last = end == key.size();
        // A link to a link is followed to the end; the bound stops a loop.
        for (int hops = 0; (!last || followLast) && hops < 32; ++hops) {
            const Node* node = Find(resolved);
            if (!node || node->target.empty()) break;
            resolved = node->target;
        }
        start = end + 1;
    }
    return resolved;
}

const SimFileSystem::Node* SimFileSystem::Find(const std::string& key) const {
    const auto it = nodes_.find(key);
    return it == nodes_.end() ? nullptr : &it->second;
}

bool SimFileSystem::HasChildren(const std::string& key) const {
    const auto it = nodes_.upper_bound(key + "\\");
    return it != nodes_.end() && it->first.compare(0, key.size() + 1, key + "\\") == 0;
}

void SimFileSystem::RaiseMissing(const std::string& key) const {
    const Node* parent = Find(Parent(key));
    if (!parent || !(parent->attributes & attr::kDirectory)) RaisePathNotFound();
    throw RunError(errnum::kFileNotFound, "File not found");
}

void SimFileSystem::AddDrive(char letter, std::uint32_t driveType) {
    driveTypes_[Upper(letter)] = driveType;
    AddFolder(std::string(1, letter) + ":\\");
}

void SimFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
    const std::string key = Resolve(path);
    if (key.empty()) return;
    const std::string parent = Parent(key);
    if (!parent.empty() && !nodes_.count(parent)) AddFolder(ParentPath(path));
    nodes_[key] = Node{LastName(path), attributes | attr::kDirectory, {}};
}

void SimFileSystem::AddFile(const std::string& path, const std::string& content,
                            std::uint32_t attributes) {
    const std::string key = Resolve(path);
    const std::string parent = Parent(key);
    if (!parent.empty() && !nodes_.count(parent)) AddFolder(ParentPath(path));
    nodes_[key] = Node{LastName(path), attributes & ~attr::kDirectory, content};
}

void SimFileSystem::AddFolderLink(const std::string& path, const std::string& target) {
    AddFolder(path);
    Node& link = nodes_[Resolve(path)];
    link.attributes = attr::kDirectory | attr::kReparsePoint;
    link.target = Resolve(target, true);
}

void SimFileSystem::AddFileLink(const std::string& path, const std::string& target) {
    AddFile(path);
    nodes_[Resolve(path)].target = Resolve(target, true);
}

void SimFileSystem::SetDriveReady(char letter, bool ready) {
    if (ready) {
        notReady_.erase(Upper(letter));
    } else {
        notReady_.insert(Upper(letter));
    }
}

void SimFileSystem::CheckReady(const std::string& path, bool listing) const {
    if (path.size() < 2 || path[1] != ':' || !notReady_.count(Upper(path[0]))) return;
    if (listing) throw RunError(errnum::kDeviceUnavailable, "Device unavailable");
    throw RunError(errnum::kDiskNotReady, "Disk not ready");
}

bool SimFileSystem::Exists(const std::string& path) const {
    return Find(Resolve(path)) != nullptr;
}

bool SimFileSystem::IsFile(const std::string& path) const {
    const Node* node = Find(Resolve(path));
    return node && !(node->attributes & attr::kDirectory);
}

std::string SimFileSystem::Content(const std::string& path) const {
    const Node* node = Find(Resolve(path));
    return node ? node->content : std::string();
}

void SimFileSystem::SetInUse(const std::string& path, bool inUse) {
    const auto it = nodes_.find(Resolve(path));
    if (it != nodes_.end()) it->second.inUse = inUse;
}

std::unique_ptr<RawListing> SimFileSystem::Enumerate(const std::string& pattern) {
    faults_.Check("Enumerate");
    CheckReady(pattern, true);
    const auto slash = pattern.rfind('\\');
    const std::string folder =
        Resolve(slash == std::string::npos ? "" : pattern.substr(0, slash), true);
    std::string mask = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    if (mask.empty()) mask = "*";  // "folder\" lists the folder itself

    std::vector<DirEntry> entries;
    const auto dir = nodes_.find(folder);
    if (dir != nodes_.end() && (dir->second.attributes & attr::kDirectory)) {
        const bool isRoot = Parent(folder).empty();
        if (!isRoot) {
            for (const char* dots : {".", ".."}) {
                if (WildcardMatch(mask, dots)) entries.push_back({dots, dir->second.attributes});
            }
        }
        for (auto it = nodes_.upper_bound(folder + "\\"); it != nodes_.end(); ++it) {
            if (it->first.compare(0, folder.size() + 1, folder + "\\") != 0) break;
            if (Parent(it->first) != folder) continue;
            if (WildcardMatch(mask, it->second.name)) {
                entries.push_back({it->second.name, it->second.attributes});
            }
        }
    }
    return std::make_unique<VectorListing>(std::move(entries));
}

void SimFileSystem::DeleteFileA(const std::string& path) {
    journal_.push_back("delete " + path);
    faults_.Check("DeleteFileA");
    CheckReady(path);
    const std::string key = Resolve(path);
    const auto it = nodes_.find(key);
    if (it == nodes_.end()) RaiseMissing(key);
    const Node& node = it->second;
    if (node.inUse || node.openedByUs > 0) RaiseInUse();
    if (node.attributes & (attr::kDirectory | attr::kReadOnly)) RaiseAccess();
    nodes_.erase(it);
}

void SimFileSystem::SetAttr(const std::string& path, std::uint32_t attributes) {
    journal_.push_back("setattr " + path + " " + Hex(attributes));
    faults_.Check("SetAttr");
    CheckReady(path);
    const std::string key = Resolve(path);
    const auto it = nodes_.find(key);
    if (it == nodes_.end()) RaiseMissing(key);
    std::uint32_t& bits = it->second.attributes;
    bits = (bits & ~kSettable) | (attributes & kSettable);
}

void SimFileSystem::CreateDirectoryA(const std::string& path) {
    journal_.push_back("mkdir " + path);
    faults_.Check("CreateDirectoryA");
    CheckReady(path);
    const std::string key = Resolve(path);
    if (Find(key)) RaiseAccess();
    if (!Find(Parent(key))) RaisePathNotFound();
    AddFolder(path);
}

void SimFileSystem::RemoveDirectoryA(const std::string& path) {
    journal_.push_back("rmdir " + path);
    faults_.Check("RemoveDirectoryA");
    CheckReady(path);
    const std::string key = Resolve(path);
    const auto it = nodes_.find(key);
    if (it == nodes_.end() || !(it->second.attributes & attr::kDirectory)) RaisePathNotFound();
    if (it->second.target.empty()) {
        // Windows keeps a read-only folder (Wine removes it).
        if (Parent(key).empty() || HasChildren(key) || (it->second.attributes & attr::kReadOnly)) {
            RaiseAccess();
        }
    }
    nodes_.erase(it);
}

std::uint32_t SimFileSystem::GetDriveTypeA(const std::string& rootPath) {
    const bool drive = (rootPath.size() == 2 || (rootPath.size() == 3 && rootPath[2] == '\\')) &&
                       std::isalpha(static_cast<unsigned char>(rootPath[0])) && rootPath[1] == ':';
    if (!drive || !Find(Key(rootPath.substr(0, 2)))) return drivetype::kNoRootDir;
    const auto type = driveTypes_.find(Upper(rootPath[0]));
    return type == driveTypes_.end() ? drivetype::kFixed : type->second;
}

std::uint32_t SimFileSystem::GetTempPathA(std::uint32_t bufferLength, std::string& path) {
    // The platform counts UTF-16 units.
    const auto length = static_cast<std::uint32_t>(Units(tempPath).size());
    if (length == 0) return 0;
    if (length + 1 > bufferLength) return length + 1;
    path = tempPath;
    return length;
}

std::unique_ptr<BinaryFile> SimFileSystem::OpenBinary(const std::string& path) {
    journal_.push_back("open " + path + " truncate=no");
    faults_.Check("OpenBinary");
    CheckReady(path);
    const std::string key = Resolve(path);
    auto it = nodes_.find(key);
    if (it == nodes_.end()) {
        const Node* parent = Find(Parent(key));
        if (!parent || !(parent->attributes & attr::kDirectory)) RaisePathNotFound();
        it = nodes_.emplace(key, Node{LastName(path), attr::kArchive, {}}).first;
    }
    Node& node = it->second;
    if (!node.target.empty() && !(node.attributes & attr::kDirectory)) return nullptr;
    if (node.attributes & (attr::kDirectory | attr::kReadOnly)) RaiseAccess();
    if (node.inUse) RaiseInUse();
    ++node.openedByUs;
    return std::make_unique<OpenFile>(*this, key);
}

std::string SimFileSystem::ReadAll(const std::string& path) {
    faults_.Check("ReadAll");
    CheckReady(path);
    const std::string key = Resolve(path, true);
    const Node* node = Find(key);
    if (!node) RaiseMissing(key);
    if (node->attributes & attr::kDirectory) RaiseAccess();
    if (node->inUse) RaiseInUse();
    return node->content;
}

std::string SimFileSystem::AnsiToUtf8(std::string_view text) {
    return Latin1ToUtf8(text);
}

}  // namespace vw::sim
