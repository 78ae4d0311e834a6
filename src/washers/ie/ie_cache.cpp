#include "washers/ie/ie_cache.h"

namespace vw {

void DeleteCacheURLList(Platform& platform) {
    UrlCache& cache = platform.urlCache;
    const std::unique_ptr<CacheWalk> walk = cache.Walk();
    CacheEntry entry;
    while (walk->Next(entry)) {
        // Whether the deletion took is not looked at: an entry in use stays.
        if ((entry.type & cacheentry::kNormal) == cacheentry::kNormal) cache.DeleteEntry(entry.url);
    }
}

}  // namespace vw
