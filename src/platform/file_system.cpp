#include "platform/file_system.h"

namespace vw {

bool PassesFilter(const DirEntry& entry, std::uint32_t filter) {
    const std::uint32_t a = entry.attributes;
    if (a & (attr::kSystem | attr::kVolume)) return false;
    if (a & attr::kDirectory) {
        return (filter & attr::kDirectory) && !(a & attr::kHidden);
    }
    if (a & attr::kHidden) return (filter & attr::kHidden) != 0;
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

}  // namespace vw
