#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/url_cache.h"
#include "platform/url_history.h"

namespace vw::contract {

// One entry as a test puts it into the URL cache.
struct StagedCacheEntry {
    std::string url;            // UTF-8
    std::uint32_t committedAs;  // the type it is committed with
    std::uint32_t listedAs;     // the type a walk lists it with
    std::size_t headerBytes = 0;
};

// A URL cache staged by the backend's own means: the real one commits each
// entry as a browser would, the simulation sets it.
class CacheStage {
  public:
    virtual ~CacheStage() = default;
    virtual UrlCache& Cache() = 0;
    virtual void Commit(const StagedCacheEntry& entry) = 0;
};

// Entries that a walk must list by their own URL and listed type, deleted as
// the walk yields them or left for a deletion afterwards. Other entries the
// cache holds are passed over.
struct CacheCase {
    const char* name;
    std::vector<StagedCacheEntry> entries;
    bool deleteWhileWalking;
};
const std::vector<CacheCase>& CacheCases();
void RunCacheCase(CacheStage& stage, const CacheCase& c);

// A UTC time and the OLE Automation date it gives where local time is UTC.
struct DateCase {
    const char* name;
    FileTime utc;
    double date;
};
const std::vector<DateCase>& DateCases();

// A history store call that fails as the store under Wine fails it: with
// E_NOTIMPL, raised, never returned.
struct StoreCase {
    const char* name;
    const char* call;
    std::function<void(HistoryStore&)> run;
};
const std::vector<StoreCase>& StoreCases();

inline void PrintTo(const CacheCase& c, std::ostream* os) {
    *os << c.name;
}
inline void PrintTo(const DateCase& c, std::ostream* os) {
    *os << c.name;
}
inline void PrintTo(const StoreCase& c, std::ostream* os) {
    *os << c.name;
}

}  // namespace vw::contract
