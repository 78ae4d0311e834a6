#include "platform/file_system.h"

#include "text/utf8.h"

namespace vw {

bool PassesFilter(const DirEntry& entry, std::uint32_t filter) {
    const std::uint32_t a = entry.attributes;
    if (a & attr::kVolume) return false;
    if (a & attr::kDirectory) {
        return (filter & attr::kDirectory) && !(a & (attr::kHidden | attr::kSystem));
    }
    if ((a & attr::kSystem) && !(filter & attr::kSystem)) return false;
    if ((a & attr::kHidden) && !(filter & attr::kHidden)) return false;
    return true;
}

std::string DirectoryListing::Next() {
    DirEntry entry;
    while (raw_ && raw_->Next(entry)) {
        if (PassesFilter(entry, filter_)) return entry.name;
    }
    raw_.reset();  // releases the find handle as soon as the listing ends
    return {};
}

void FileSystem::Kill(const std::string& pattern) {
    const auto slash = pattern.rfind('\\');
    const std::string folder = slash == std::string::npos ? "" : pattern.substr(0, slash + 1);
    DirectoryListing listing = List(pattern, attr::kNormal);
    for (std::string name = listing.Next(); !name.empty(); name = listing.Next()) {
        RemoveFile(folder + name);
    }
}

std::string FileSystem::ReadText(const std::string& path) {
    const std::string bytes = ReadAll(path);
    return HasUtf8Bom(bytes) ? bytes.substr(3) : AnsiToUtf8(bytes);
}

}  // namespace vw
