#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/file_time.h"
#include "platform/hresult.h"

namespace vw {

// An entry's flag bits, and the query flags of a filtered walk.
namespace staturl {
constexpr std::uint32_t kIsCached = 0x1;
constexpr std::uint32_t kIsTopLevel = 0x2;
constexpr std::uint32_t kQueryIsCached = 0x10000;
constexpr std::uint32_t kQueryTopLevel = 0x80000;
}  // namespace staturl

// One entry of the URL history, as the store lists it. Times are UTC.
struct HistoryEntry {
    std::string url;    // UTF-8
    std::string title;  // UTF-8; empty when the page had none
    FileTime lastVisited{};
    FileTime lastUpdated{};
    FileTime expires{};
    std::uint32_t flags = 0;
};

// One walk over the entries a store's filter lets through, in the store's
// order; released when destroyed.
class HistoryWalk {
  public:
    virtual ~HistoryWalk() = default;

    // The next entry; false at the end. A failing fetch raises RunError
    // carrying its HRESULT.
    virtual bool Next(HistoryEntry& entry) = 0;
};

// One connection to the system's URL history store; released when destroyed.
// Every call that fails raises RunError carrying the store's HRESULT; none
// returns a failure.
class HistoryStore {
  public:
    virtual ~HistoryStore() = default;

    virtual void AddUrl(const std::string& url, const std::string& title, std::uint32_t flags) = 0;
    // A URL that is not there is left to the store to judge.
    virtual void DeleteUrl(const std::string& url, std::uint32_t flags) = 0;
    virtual void ClearHistory() = 0;
    // A walk filtered by URL prefix and query flags: no prefix and flags 0
    // list every entry. Raises when the walk cannot be made or filtered.
    virtual std::unique_ptr<HistoryWalk> EnumUrls(const std::optional<std::string>& urlStartsWith,
                                                  std::uint32_t flags) = 0;
};

// The system's URL history.
class UrlHistory {
  public:
    virtual ~UrlHistory() = default;

    // Raises RunError carrying the HRESULT when the store can't be created.
    virtual std::unique_ptr<HistoryStore> OpenStore() = 0;
    // `utc` as an OLE Automation date (days since 30 December 1899, whole
    // seconds) in local time; in UTC when the local conversion fails; 0 when
    // the time has no date (past the year 9999, or no calendar time at all).
    // Never raises.
    virtual double LocalDate(const FileTime& utc) = 0;
};

}  // namespace vw
