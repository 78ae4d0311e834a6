#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vw {

// Cache entry type bits.
namespace cacheentry {
constexpr std::uint32_t kNormal = 0x1;
constexpr std::uint32_t kSticky = 0x4;
constexpr std::uint32_t kSparse = 0x10000;
constexpr std::uint32_t kCookie = 0x100000;
constexpr std::uint32_t kUrlHistory = 0x200000;
}  // namespace cacheentry

// One content entry of the URL cache: the URL that names it (UTF-8) and its
// type bits.
struct CacheEntry {
    std::string url;
    std::uint32_t type = 0;
};

// One walk over the content entries of the cache, in the cache's order;
// closes itself. Entries deleted during the walk are passed over.
class CacheWalk {
  public:
    virtual ~CacheWalk() = default;

    // The next entry; false at the end, and false when a fetch fails (the
    // walk ends there, the entries after it unvisited). Never raises.
    virtual bool Next(CacheEntry& entry) = 0;
};

// The URL cache (temporary Internet files).
class UrlCache {
  public:
    virtual ~UrlCache() = default;

    // A walk from the first content entry; over an empty cache, or one that
    // cannot be read, a walk that yields nothing. Never raises.
    virtual std::unique_ptr<CacheWalk> Walk() = 0;
    // Deletes the entry a walk named `url`; allowed during a walk. False when
    // it stays (in use) or is not there. Never raises.
    virtual bool DeleteEntry(const std::string& url) = 0;
};

}  // namespace vw
