#include "platform/sim/sim_url_cache.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/run_error.h"

namespace vw::sim {
namespace {

constexpr std::uint32_t kZeroInit = 0x40;  // LMEM_ZEROINIT

// WinINet starts each string of a record on a 4-byte boundary.
std::uint32_t Align4(std::size_t n) {
    return static_cast<std::uint32_t>((n + 3) & ~std::size_t{3});
}

}  // namespace

void SimUrlCache::AddEntry(const std::string& url, std::uint32_t type,
                           const std::string& localFile) {
    // Committing a URL again replaces its entry.
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const Entry& e) { return e.url == url; }),
                   entries_.end());
    entries_.push_back({nextId_++, url, type, localFile});
}

void SimUrlCache::Lock(const std::string& url) {
    for (Entry& e : entries_) {
        if (e.url == url) e.locked = true;
    }
}

bool SimUrlCache::Contains(const std::string& url) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.url == url; });
}

const SimUrlCache::Entry* SimUrlCache::After(std::uint64_t afterId) const {
    for (const Entry& e : entries_) {
        if (e.id > afterId) return &e;
    }
    return nullptr;
}

std::uint32_t SimUrlCache::RecordSize(const Entry& entry) {
    return Align4(sizeof(CacheEntryInfo)) + Align4(entry.url.size() + 1) +
           Align4(entry.localFile.size() + 1);
}

bool SimUrlCache::Fill(const Entry& entry, CacheEntryInfo* entryInfo,
                       std::uint32_t* entryInfoSize) {
    if (!entryInfoSize) throw std::logic_error("cache call without a size");
    const std::uint32_t needed = RecordSize(entry);
    if (!entryInfo || *entryInfoSize < needed) {
        *entryInfoSize = needed;
        lastError_ = cacheerror::kInsufficientBuffer;
        return false;
    }
    const auto block = blocks_.find(entryInfo);
    if (block != blocks_.end() && block->second.second < *entryInfoSize) {
        throw std::logic_error("a cache buffer smaller than the size given for it");
    }

    auto* base = reinterpret_cast<unsigned char*>(entryInfo);
    char* url = reinterpret_cast<char*>(base + Align4(sizeof(CacheEntryInfo)));
    char* localFile = url + Align4(entry.url.size() + 1);
    std::memcpy(url, entry.url.c_str(), entry.url.size() + 1);
    std::memcpy(localFile, entry.localFile.c_str(), entry.localFile.size() + 1);

    CacheEntryInfo info{};
    info.dwStructSize = sizeof(CacheEntryInfo);
    info.lpszSourceUrlName = url;
    info.lpszLocalFileName = localFile;
    info.CacheEntryType = entry.type;
    info.dwUseCount = entry.locked ? 1 : 0;
    std::memcpy(base, &info, sizeof info);
    *entryInfoSize = needed;
    return true;
}

bool SimUrlCache::Faulted(const char* call) {
    try {
        faults_.Check(call);
        return false;
    } catch (const RunError& e) {
        lastError_ = static_cast<std::uint32_t>(e.Number());
        return true;
    }
}

CacheFindHandle SimUrlCache::FindFirstUrlCacheEntryA(const char* searchPattern,
                                                     CacheEntryInfo* entryInfo,
                                                     std::uint32_t* entryInfoSize) {
    journal_.push_back("FindFirstUrlCacheEntryA");
    if (Faulted("FindFirstUrlCacheEntryA")) return 0;
    // Only the content container is modelled.
    if (searchPattern) {
        lastError_ = cacheerror::kInvalidParameter;
        return 0;
    }
    const Entry* first = After(0);
    if (!first) {
        lastError_ = cacheerror::kNoMoreItems;
        return 0;
    }
    if (!Fill(*first, entryInfo, entryInfoSize)) return 0;
    const CacheFindHandle handle = nextHandle_++;
    handles_[handle] = first->id;
    return handle;
}

bool SimUrlCache::FindNextUrlCacheEntryA(CacheFindHandle find, CacheEntryInfo* entryInfo,
                                         std::uint32_t* entryInfoSize) {
    journal_.push_back("FindNextUrlCacheEntryA");
    const auto walk = handles_.find(find);
    if (walk == handles_.end()) throw std::logic_error("a cache walk that is not open");
    if (Faulted("FindNextUrlCacheEntryA")) return false;
    const Entry* next = After(walk->second);
    if (!next) {
        lastError_ = cacheerror::kNoMoreItems;
        return false;
    }
    if (!Fill(*next, entryInfo, entryInfoSize)) return false;
    walk->second = next->id;
    return true;
}

bool SimUrlCache::DeleteUrlCacheEntryA(const std::string& urlName) {
    journal_.push_back("DeleteUrlCacheEntryA " + urlName);
    if (Faulted("DeleteUrlCacheEntryA")) return false;
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const Entry& e) { return e.url == urlName; });
    if (it == entries_.end()) {
        lastError_ = 2;  // ERROR_FILE_NOT_FOUND
        return false;
    }
    if (it->locked) {
        lastError_ = cacheerror::kSharingViolation;
        return false;
    }
    entries_.erase(it);
    return true;
}

bool SimUrlCache::FindCloseUrlCache(CacheFindHandle find) {
    journal_.push_back("FindCloseUrlCache");
    if (handles_.erase(find) == 0) throw std::logic_error("closing a cache walk that is not open");
    return true;
}

void* SimUrlCache::LocalAlloc(std::uint32_t flags, std::size_t bytes) {
    allocations_.push_back(bytes);
    if (Faulted("LocalAlloc")) return nullptr;
    auto memory = std::make_unique<unsigned char[]>(std::max<std::size_t>(bytes, 1));
    // Fixed memory comes uninitialised; a recognisable filler shows a reader
    // that relies on it.
    std::memset(memory.get(), (flags & kZeroInit) ? 0 : 0xCD, std::max<std::size_t>(bytes, 1));
    void* block = memory.get();
    blocks_[block] = {std::move(memory), bytes};
    return block;
}

void* SimUrlCache::LocalFree(void* block) {
    if (!block) return nullptr;
    if (blocks_.erase(block) == 0) throw std::logic_error("freeing a block that is not live");
    return nullptr;
}

}  // namespace vw::sim
