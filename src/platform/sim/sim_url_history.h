#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sim_faults.h"
#include "platform/url_history.h"

namespace vw::sim {

// A URL history store. An enumerator walks the entries as they were when it
// began; its filter is a prefix matched unit for unit, and the query flags
// are journaled, not applied. Faults armed by call name ("CoCreateInstance",
// "AddUrl", "DeleteUrl", "EnumUrls", "ClearHistory", "SetFilter", "Next")
// make that call return the armed number as its HRESULT; armed conversions
// ("FileTimeToLocalFileTime", "FileTimeToSystemTime",
// "SystemTimeToVariantTime") return false. Strings handed out are counted
// until freed; freeing one twice raises std::logic_error.
class SimUrlHistory : public UrlHistory {
  public:
    struct Entry {
        std::u16string url;
        std::optional<std::u16string> title;
        FileTime lastVisited{};
        FileTime lastUpdated{};
        FileTime expires{};
        std::uint32_t flags = 0;
        // Left in place by ClearHistory, as entries in use are.
        bool survivesClear = false;
    };

    SimUrlHistory(SimFaults& faults, Journal& journal) : faults_(faults), journal_(journal) {}

    // The store, in enumeration order. AddUrl appends a new URL and stamps it
    // with `now`; a URL already there keeps its place and gets the new title.
    std::vector<Entry> entries;
    FileTime now{0xE920A000, 0x01D99F80};  // 15 June 2023 12:00 UTC
    // Local time is UTC plus this many minutes.
    std::int32_t localOffsetMinutes = 0;

    std::size_t LiveStores() const { return liveStores_; }
    std::size_t LiveEnumerators() const { return liveEnumerators_; }
    std::size_t LiveStrings() const { return strings_.size(); }

    HResult CreateUrlHistoryStg(std::unique_ptr<UrlHistoryStg>& store) override;
    void CoTaskMemFree(void* block) override;
    bool FileTimeToLocalFileTime(const FileTime& fileTime, FileTime& localFileTime) override;
    bool FileTimeToSystemTime(const FileTime& fileTime, SystemTime& systemTime) override;
    bool SystemTimeToVariantTime(const SystemTime& systemTime, double& variantTime) override;

  private:
    class Store;
    class Enumerator;

    // The armed HRESULT of `call`, or 0.
    HResult Armed(const char* call);
    char16_t* TaskString(const std::u16string& text);
    void Log(const std::string& call, const char16_t* url = nullptr);

    SimFaults& faults_;
    Journal& journal_;
    std::size_t liveStores_ = 0;
    std::size_t liveEnumerators_ = 0;
    std::map<const void*, std::unique_ptr<char16_t[]>> strings_;
};

}  // namespace vw::sim
