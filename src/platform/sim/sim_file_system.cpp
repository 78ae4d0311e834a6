#include "platform/sim/sim_file_system.h"

#include <cctype>
#include <vector>

#include "platform/run_error.h"

namespace vw::sim {

namespace {

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool Match(const char* m, const char* n) {
    for (; *m; ++m) {
        if (*m == '*') {
            for (const char* rest = n;; ++rest) {
                if (Match(m + 1, rest)) return true;
                if (!*rest) return false;
            }
        }
        if (!*n || (*m != '?' && Upper(*m) != Upper(*n))) return false;
        ++n;
    }
    return !*n;
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

}  // namespace

bool WildcardMatch(const std::string& mask, const std::string& name) {
    if (Match(mask.c_str(), name.c_str())) return true;
    const bool dotStar = mask.size() >= 2 && mask.compare(mask.size() - 2, 2, ".*") == 0;
    return dotStar && name.find('.') == std::string::npos &&
           Match(mask.substr(0, mask.size() - 2).c_str(), name.c_str());
}

std::string SimFileSystem::Key(const std::string& path) {
    std::string key;
    for (char c : path) {
        // The platform reads "C:\\dir" as "C:\dir".
        if (c == '\\' && !key.empty() && key.back() == '\\') continue;
        key += Upper(c);
    }
    while (!key.empty() && key.back() == '\\') key.pop_back();
    return key;
}

std::string SimFileSystem::Parent(const std::string& key) {
    const auto slash = key.rfind('\\');
    return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

void SimFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
    const std::string key = Key(path);
    if (key.empty()) return;
    const std::string parent = Parent(key);
    if (!parent.empty() && !nodes_.count(parent)) AddFolder(ParentPath(path));
    nodes_[key] = Node{LastName(path), attributes | attr::kDirectory, {}};
}

void SimFileSystem::AddFile(const std::string& path, const std::string& content,
                            std::uint32_t attributes) {
    const std::string key = Key(path);
    const std::string parent = Parent(key);
    if (!parent.empty() && !nodes_.count(parent)) AddFolder(ParentPath(path));
    nodes_[key] = Node{LastName(path), attributes & ~attr::kDirectory, content};
}

bool SimFileSystem::Exists(const std::string& path) const {
    return nodes_.count(Key(path)) > 0;
}

bool SimFileSystem::IsFile(const std::string& path) const {
    const auto it = nodes_.find(Key(path));
    return it != nodes_.end() && !(it->second.attributes & attr::kDirectory);
}

std::string SimFileSystem::Content(const std::string& path) const {
    const auto it = nodes_.find(Key(path));
    return it == nodes_.end() ? std::string() : it->second.content;
}

std::unique_ptr<RawListing> SimFileSystem::Enumerate(const std::string& pattern) {
    faults_.Check("Enumerate");
    const auto slash = pattern.rfind('\\');
    const std::string folder = Key(slash == std::string::npos ? "" : pattern.substr(0, slash));
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

void SimFileSystem::SetInUse(const std::string& path, bool inUse) {
    const auto it = nodes_.find(Key(path));
    if (it != nodes_.end()) it->second.inUse = inUse;
}

void SimFileSystem::DeleteFileA(const std::string& path) {
    faults_.Check("DeleteFileA");
    const std::string key = Key(path);
    const auto it = nodes_.find(key);
    if (it == nodes_.end()) {
        if (!nodes_.count(Parent(key))) throw RunError(errnum::kPathNotFound, "Path not found");
        throw RunError(errnum::kFileNotFound, "File not found");
    }
    const Node& node = it->second;
    if (node.inUse) throw RunError(errnum::kPermissionDenied, "Permission denied");
    if (node.attributes & (attr::kDirectory | attr::kReadOnly)) {
        throw RunError(errnum::kPathFileAccessError, "Path/File access error");
    }
    nodes_.erase(it);
}

}  // namespace vw::sim
