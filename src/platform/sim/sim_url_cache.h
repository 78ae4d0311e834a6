#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/sim/sim_faults.h"
#include "platform/url_cache.h"

namespace vw::sim {

// The content entries of a URL cache. A walk journals "cache walk" when it
// starts and "cache walk end" when it closes.
class SimUrlCache : public UrlCache {
  public:
    struct Entry {
        std::uint32_t type = cacheentry::kNormal;
        bool inUse = false;       // its deletion is refused
        bool fetchFails = false;  // a walk that reaches it ends there
    };

    explicit SimUrlCache(Journal& journal) : journal_(journal) {}

    // The cache by URL; a walk visits it in that order.
    std::map<std::string, Entry> entries;

    std::unique_ptr<CacheWalk> Walk() override { return std::make_unique<SimWalk>(*this); }
    bool DeleteEntry(const std::string& url) override {
        const auto it = entries.find(url);
        if (it == entries.end() || it->second.inUse) return false;
        entries.erase(it);
        return true;
    }

  private:
    struct SimWalk : CacheWalk {
        explicit SimWalk(SimUrlCache& c) : cache(c) { cache.journal_.push_back("cache walk"); }
        ~SimWalk() override { cache.journal_.push_back("cache walk end"); }

        bool Next(CacheEntry& entry) override {
            // Resumes after the URL fetched last: deletions behind it don't matter.
            const auto it = last ? cache.entries.upper_bound(*last) : cache.entries.begin();
            if (it == cache.entries.end() || it->second.fetchFails) return false;
            last = it->first;
            entry = {it->first, it->second.type};
            return true;
        }

        SimUrlCache& cache;
        std::optional<std::string> last;
    };

    Journal& journal_;
};

}  // namespace vw::sim
