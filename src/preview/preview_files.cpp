#include "preview/preview_files.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/run_error.h"
#include "text/name_case.h"
#include "text/wildcard.h"

namespace vw::preview {

namespace {

using namespace errnum;

constexpr std::uint32_t kSettable =
    attr::kReadOnly | attr::kHidden | attr::kSystem | attr::kArchive | 0x100 | 0x2000;

bool IsDriveRoot(const std::string& key) {
    return key.size() == 3 && key[1] == ':' && key[2] == '\\';
}

std::string ChildKey(const std::string& folderKey, const std::string& name) {
    const std::string upper = UpcaseName(name);
    return folderKey.empty() || folderKey.back() == '\\' ? folderKey + upper
                                                         : folderKey + "\\" + upper;
}

// The entry exists, whether or not it could be opened.
bool Present(const EntryProbe& probe) {
    return probe.error == 0 || probe.error == kPermissionDenied ||
           probe.error == kPathFileAccessError;
}

// What a call that needs only to reach the entry raises.
void RaiseUnreached(const EntryProbe& probe) {
    if (!Present(probe)) RaiseNumbered(probe.error);
}

// A file the wash would overwrite: its length as the platform tells it,
// writes that go nowhere.
class HeldBackFile : public BinaryFile {
  public:
    explicit HeldBackFile(std::uint64_t length) : length_(length) {}
    std::uint64_t Length() override { return length_; }
    void WriteAt(std::uint64_t, std::string_view) override {}
    void Flush() override {}

  private:
    std::uint64_t length_;
};

}  // namespace

void RaiseNumbered(long number) {
    static const std::map<long, const char*> kTexts = {
        {kInvalidArgument, "Invalid procedure call or argument"},
        {kBadFileName, "Bad file name or number"},
        {kFileNotFound, "File not found"},
        {kDeviceUnavailable, "Device unavailable"},
        {kPermissionDenied, "Permission denied"},
        {kDiskNotReady, "Disk not ready"},
        {kPathFileAccessError, "Path/File access error"},
        {kPathNotFound, "Path not found"},
    };
    const auto text = kTexts.find(number);
    throw RunError(number, text == kTexts.end() ? "Application-defined or object-defined error"
                                                : text->second);
}

std::string PathKey(const std::string& path) {
    std::string key = UpcaseName(path);
    // A leading "\\" opens a UNC path; elsewhere a doubled "\" is one.
    const auto twice = [](char a, char b) { return a == '\\' && b == '\\'; };
    if (key.size() > 2) key.erase(std::unique(key.begin() + 1, key.end(), twice), key.end());
    while (key.size() > 1 && key.back() == '\\' && !IsDriveRoot(key)) key.pop_back();
    if (key.size() == 2 && key[1] == ':') key += '\\';
    return key;
}

std::pair<std::string, std::string> SplitPath(const std::string& path) {
    const auto end = path.find_last_not_of('\\');
    if (end == std::string::npos) return {path, ""};
    const auto slash = path.rfind('\\', end);
    if (slash == std::string::npos) return {"", path.substr(0, end + 1)};
    // "C:\name": the folder is the root, written with its "\".
    const std::size_t keep = slash == 2 && path[1] == ':' ? 3 : slash;
    return {path.substr(0, keep), path.substr(slash + 1, end - slash)};
}

std::string ParentKey(const std::string& key) {
    const auto slash = key.rfind('\\');
    if (slash == std::string::npos || IsDriveRoot(key)) return {};
    return slash == 2 && key[1] == ':' ? key.substr(0, 3) : key.substr(0, slash);
}

// The real listing less what is gone, with attributes as changed, then the
// entries made that match.
class PreviewFileSystem::Listing : public RawListing {
  public:
    Listing(std::unique_ptr<RawListing> real, PreviewFileSystem& owner, std::string folderKey,
            std::string mask)
        : real_(std::move(real)),
          owner_(owner),
          folder_(std::move(folderKey)),
          mask_(std::move(mask)) {}

    bool Next(DirEntry& entry) override {
        while (real_ && real_->Next(entry)) {
            if (entry.name == "." || entry.name == "..") return true;
            const std::string key = ChildKey(folder_, entry.name);
            if (owner_.gone_.count(key)) continue;
            seen_.insert(key);
            const auto changed = owner_.attributes_.find(key);
            if (changed != owner_.attributes_.end()) entry.attributes = changed->second;
            // Removed and made again here: what was made.
            const auto made = owner_.made_.find(folder_);
            if (made != owner_.made_.end() && made->second.count(key))
                entry.attributes = made->second.at(key).attributes;
            return true;
        }
        real_.reset();
        if (!made_) {
            made_ = true;
            const auto folder = owner_.made_.find(folder_);
            if (folder != owner_.made_.end()) {
                for (const auto& [key, made] : folder->second) {
                    if (!seen_.count(key) && WildcardMatch(mask_, made.name))
                        extra_.push_back(made);
                }
            }
        }
        if (next_ >= extra_.size()) return false;
        entry = {extra_[next_].name, extra_[next_].attributes};
        ++next_;
        return true;
    }

  private:
    std::unique_ptr<RawListing> real_;
    PreviewFileSystem& owner_;
    std::string folder_, mask_;
    std::set<std::string> seen_;
    bool made_ = false;
    std::vector<Made> extra_;
    std::size_t next_ = 0;
};

std::unique_ptr<RawListing> PreviewFileSystem::Enumerate(const std::string& pattern) {
    auto real = real_.Enumerate(pattern);
    const auto slash = pattern.rfind('\\');
    const std::string folder = slash == std::string::npos ? "" : pattern.substr(0, slash + 1);
    const std::string mask = slash + 1 >= pattern.size() ? "*" : pattern.substr(slash + 1);
    // A folder made here holds only what was made in it, whatever stood
    // there before.
    const std::string key = PathKey(folder);
    const auto above = made_.find(ParentKey(key));
    if (above != made_.end() && above->second.count(key)) real.reset();
    return std::make_unique<Listing>(std::move(real), *this, key, mask);
}

EntryProbe PreviewFileSystem::ProbeEntry(const std::string& path) {
    const std::string key = PathKey(path);
    const std::string parent = ParentKey(key);
    const auto folder = made_.find(parent);
    if (folder != made_.end() && folder->second.count(key)) {
        return {0, folder->second.at(key).attributes, 0};
    }
    if (gone_.count(key)) return {gone_.count(parent) ? kPathNotFound : kFileNotFound, 0, 0};
    EntryProbe probe = real_.ProbeEntry(path);
    // Within a folder only made here, a missing name is a missing file.
    if (probe.error == kPathNotFound && folder != made_.end() && !gone_.count(parent)) {
        probe.error = kFileNotFound;
    }
    const auto changed = attributes_.find(key);
    if (Present(probe) && changed != attributes_.end()) probe.attributes = changed->second;
    return probe;
}

void PreviewFileSystem::Forget(const std::string& key) {
    gone_.insert(key);
    attributes_.erase(key);
    const auto folder = made_.find(ParentKey(key));
    if (folder != made_.end()) folder->second.erase(key);
}

void PreviewFileSystem::RemoveFile(const std::string& path) {
    const EntryProbe probe = ProbeEntry(path);
    if (probe.error) RaiseNumbered(probe.error);
    if (probe.passedOver) return;
    if (probe.attributes & (attr::kDirectory | attr::kReadOnly))
        RaiseNumbered(kPathFileAccessError);
    log_.Record(action::kDeleteFile, path, probe.size);
    Forget(PathKey(path));
}

void PreviewFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    const EntryProbe probe = ProbeEntry(path);
    // An entry in use, or one that may not be deleted, still takes them.
    RaiseUnreached(probe);
    if (probe.passedOver) return;
    log_.Record(action::kSetAttributes, path).attributes = attributes;
    const std::string key = PathKey(path);
    const auto folder = made_.find(ParentKey(key));
    const bool made = folder != made_.end() && folder->second.count(key);
    (made ? folder->second[key].attributes : attributes_[key]) =
        (probe.attributes & ~kSettable) | (attributes & kSettable);
}

void PreviewFileSystem::CreateFolder(const std::string& path) {
    const EntryProbe probe = ProbeEntry(path);
    if (probe.error == kBadFileName || probe.error == kDiskNotReady) RaiseNumbered(probe.error);
    if (Present(probe)) RaiseNumbered(kPathFileAccessError);
    const auto [folder, name] = SplitPath(path);
    const EntryProbe above = ProbeEntry(folder);
    if (!Present(above) || !(above.attributes & attr::kDirectory)) RaiseNumbered(kPathNotFound);
    log_.Record(action::kCreateFolder, path);
    Make(path, attr::kDirectory);
}

void PreviewFileSystem::Make(const std::string& path, std::uint32_t attributes) {
    const std::string key = PathKey(path);
    gone_.erase(key);
    made_[ParentKey(key)][key] = {SplitPath(path).second, attributes};
    // Names below a folder made here are known to be missing.
    if (attributes & attr::kDirectory) made_[key];
}

bool PreviewFileSystem::IsEmptyFolder(const std::string& path) {
    const std::string pattern = path.back() == '\\' ? path + "*" : path + "\\*";
    const auto listing = Enumerate(pattern);
    DirEntry entry;
    while (listing->Next(entry)) {
        if (entry.name != "." && entry.name != "..") return false;
    }
    return true;
}

void PreviewFileSystem::RemoveFolder(const std::string& path) {
    EntryProbe probe = ProbeEntry(path);
    if (probe.error == kFileNotFound) probe.error = kPathNotFound;
    // A file is no folder, in use or not.
    if (Present(probe) && !(probe.attributes & attr::kDirectory)) RaiseNumbered(kPathNotFound);
    if (probe.error) RaiseNumbered(probe.error);
    if (probe.passedOver) return;
    // A link goes alone, whatever its target holds. Windows keeps a
    // read-only folder.
    if (!(probe.attributes & attr::kReparsePoint) &&
        (IsDriveRoot(PathKey(path)) || (probe.attributes & attr::kReadOnly) ||
         !IsEmptyFolder(path))) {
        RaiseNumbered(kPathFileAccessError);
    }
    log_.Record(action::kDeleteFolder, path);
    Forget(PathKey(path));
}

std::unique_ptr<BinaryFile> PreviewFileSystem::OpenBinary(const std::string& path) {
    const EntryProbe probe = ProbeEntry(path);
    if (probe.passedOver) return nullptr;
    if (probe.error == kFileNotFound) {
        // Created empty where its folder is: the wash makes it to delete it.
        log_.Record(action::kCreateFile, path);
        Make(path, attr::kArchive);
        log_.Record(action::kOverwriteFile, path, 0);
        return std::make_unique<HeldBackFile>(0);
    }
    if (probe.error == kPathFileAccessError && (probe.attributes & attr::kReadOnly)) {
        RaiseNumbered(kPathFileAccessError);
    }
    // Opened for writing, not for deletion: an access list that refuses the
    // deletion may still allow it.
    if (probe.error && probe.error != kPathFileAccessError) RaiseNumbered(probe.error);
    const bool folder = probe.attributes & attr::kDirectory;
    if ((probe.attributes & attr::kReparsePoint) && !folder) return nullptr;
    if (folder || (probe.attributes & attr::kReadOnly)) RaiseNumbered(kPathFileAccessError);
    log_.Record(action::kOverwriteFile, path, probe.size);
    return std::make_unique<HeldBackFile>(probe.size);
}

std::string PreviewFileSystem::ReadAll(const std::string& path) {
    const std::string key = PathKey(path);
    if (gone_.count(key)) RaiseNumbered(kFileNotFound);
    const auto folder = made_.find(ParentKey(key));
    if (folder != made_.end() && folder->second.count(key)) return {};
    return real_.ReadAll(path);
}

}  // namespace vw::preview
