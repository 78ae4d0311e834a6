#include "platform/file_system_object.h"

#include <cctype>
#include <optional>

#include "platform/run_error.h"
#include "text/path_root.h"

namespace vw {

namespace {

[[noreturn]] void RaiseInvalidArgument() {
    throw RunError(errnum::kInvalidArgument, "Invalid procedure call or argument");
}
[[noreturn]] void RaisePathNotFound() {
    throw RunError(errnum::kPathNotFound, "Path not found");
}

bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// A full path without trailing "\" (a drive root keeps its own), checked so
// that no mistake can turn it into the current folder or a parent of it.
std::string CheckedPath(std::string path) {
    const std::size_t root = PathRootLength(path);
    if (root == 0) RaiseInvalidArgument();
    while (path.size() > root && path.back() == '\\') path.pop_back();
    std::size_t start = root;
    while (start < path.size()) {
        if (path[start] == '\\') {
            ++start;
            continue;
        }
        auto end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        // The platform drops trailing dots and blanks: "..." and " " would
        // name the folder itself.
        const std::string component = path.substr(start, end - start);
        if (component.find_first_not_of(". ") == std::string::npos) RaiseInvalidArgument();
        start = end;
    }
    if (path.find_first_of("*?") != std::string::npos) RaisePathNotFound();
    return path;
}

bool IsRoot(const std::string& checked) {
    return checked.size() == PathRootLength(checked);
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

// The entry a full, non-root path names, as its parent's enumeration lists it.
std::optional<DirEntry> Stat(FileSystem& fs, const std::string& path) {
    DirEntry entry;
    auto raw = fs.Enumerate(path);
    if (!raw || !raw->Next(entry)) return std::nullopt;
    return entry;
}

// The entries of a folder except "." and "..", read in full before any of
// them is removed.
std::vector<DirEntry> Children(FileSystem& fs, const std::string& folder) {
    std::vector<DirEntry> children;
    auto raw = fs.Enumerate(Join(folder, "*"));
    DirEntry entry;
    while (raw && raw->Next(entry)) {
        if (entry.name != "." && entry.name != "..") children.push_back(entry);
    }
    return children;
}

class TreeRemover {
  public:
    TreeRemover(FileSystem& fs, bool force) : fs_(fs), force_(force) {}

    void Folder(const std::string& path, std::uint32_t attributes) {
        // A link's content belongs to its target: only the link goes.
        if (!(attributes & attr::kReparsePoint)) {
            for (const DirEntry& child : Children(fs_, path)) {
                const std::string childPath = Join(path, child.name);
                if (child.attributes & attr::kDirectory) {
                    Folder(childPath, child.attributes);
                } else {
                    File(childPath, child.attributes);
                }
            }
        }
        ClearReadOnly(path, attributes);
        Try([&] { fs_.RemoveFolder(path); });
    }

    void File(const std::string& path, std::uint32_t attributes) {
        ClearReadOnly(path, attributes);
        Try([&] { fs_.RemoveFile(path); });
    }

    const std::optional<RunError>& FirstFailure() const { return first_; }

  private:
    void ClearReadOnly(const std::string& path, std::uint32_t attributes) {
        if (force_ && (attributes & attr::kReadOnly)) {
            Try([&] { fs_.SetAttributes(path, attr::kNormal); });
        }
    }

    template <typename Step>
    void Try(Step&& step) {
        try {
            step();
        } catch (const RunError& e) {
            if (!first_) first_ = e;
        }
    }

    FileSystem& fs_;
    bool force_;
    std::optional<RunError> first_;
};

}  // namespace

std::vector<FsoFile> FsoFolder::Files() const {
    std::vector<FsoFile> files;
    for (const DirEntry& e : Children(*fs_, path_)) {
        if (!(e.attributes & attr::kDirectory)) files.emplace_back(Join(path_, e.name), e.name);
    }
    return files;
}

std::vector<FsoFolder> FsoFolder::SubFolders() const {
    std::vector<FsoFolder> folders;
    for (const DirEntry& e : Children(*fs_, path_)) {
        if (e.attributes & attr::kDirectory)
            folders.emplace_back(*fs_, Join(path_, e.name), e.attributes);
    }
    return folders;
}

FsoFolder FileSystemObject::GetFolder(const std::string& path) const {
    const std::string checked = CheckedPath(path);
    if (IsRoot(checked)) {
        const std::string root = checked.back() == '\\' ? checked : checked + "\\";
        if (fs_.KindOfDrive(root) == DriveKind::kNone) RaisePathNotFound();
    } else {
        const auto entry = Stat(fs_, checked);
        if (!entry || !(entry->attributes & attr::kDirectory)) RaisePathNotFound();
    }
    return FsoFolder(fs_, checked);
}

void FileSystemObject::DeleteFolder(const std::string& path, bool force) const {
    const std::string checked = CheckedPath(path);
    if (IsRoot(checked)) RaiseInvalidArgument();
    const auto entry = Stat(fs_, checked);
    if (!entry || !(entry->attributes & attr::kDirectory)) RaisePathNotFound();
    TreeRemover remover(fs_, force);
    remover.Folder(checked, entry->attributes);
    if (remover.FirstFailure()) throw *remover.FirstFailure();
}

std::string FileSystemObject::GetDriveName(const std::string& text) {
    if (text.size() >= 2 && IsLetter(text[0]) && text[1] == ':') return text.substr(0, 2);
    return {};
}

FsoDrive FileSystemObject::GetDrive(const std::string& driveName) const {
    const bool valid = !driveName.empty() && driveName.size() <= 3 && IsLetter(driveName[0]) &&
                       (driveName.size() < 2 || driveName[1] == ':') &&
                       (driveName.size() < 3 || driveName[2] == '\\');
    if (!valid) RaiseInvalidArgument();
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(driveName[0])));
    const DriveKind kind = fs_.KindOfDrive(std::string(1, letter) + ":\\");
    if (kind == DriveKind::kNone) throw RunError(errnum::kDeviceUnavailable, "Device unavailable");
    // The seam numbers drive kinds as the scripting runtime does.
    return FsoDrive(static_cast<int>(kind), letter);
}

}  // namespace vw
