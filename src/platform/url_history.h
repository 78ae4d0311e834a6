#pragma once

#include <cstdint>
#include <memory>

#include "platform/file_time.h"

namespace vw {

// A COM result: negative means failure.
using HResult = std::int32_t;

namespace hresult {
constexpr HResult kOk = 0;
constexpr HResult kFalse = 1;
constexpr HResult kNotImplemented = static_cast<HResult>(0x80004001u);
constexpr HResult kFail = static_cast<HResult>(0x80004005u);
constexpr HResult kInvalidArg = static_cast<HResult>(0x80070057u);
constexpr HResult kClassNotRegistered = static_cast<HResult>(0x80040154u);
}  // namespace hresult

// STATURL as the build target lays it out: 40 bytes on a 32-bit target, 56 on
// a 64-bit one. The Win32 backend proves the layout against the platform's.
// The enumerator allocates both strings with the COM task allocator; they
// belong to whoever received the record, who frees them with CoTaskMemFree.
struct StatUrl {
    std::uint32_t cbSize;
    char16_t* pwcsUrl;
    char16_t* pwcsTitle;  // null when the page had no title
    FileTime ftLastVisited;
    FileTime ftLastUpdated;
    FileTime ftExpires;
    std::uint32_t dwFlags;
};

// STATURL flag bits and SetFilter's query flags.
namespace staturl {
constexpr std::uint32_t kIsCached = 0x1;
constexpr std::uint32_t kIsTopLevel = 0x2;
constexpr std::uint32_t kQueryIsCached = 0x10000;
constexpr std::uint32_t kQueryNoUrl = 0x20000;
constexpr std::uint32_t kQueryNoTitle = 0x40000;
constexpr std::uint32_t kQueryTopLevel = 0x80000;
}  // namespace staturl

// SYSTEMTIME.
struct SystemTime {
    std::uint16_t wYear;
    std::uint16_t wMonth;
    std::uint16_t wDayOfWeek;
    std::uint16_t wDay;
    std::uint16_t wHour;
    std::uint16_t wMinute;
    std::uint16_t wSecond;
    std::uint16_t wMilliseconds;
};

// IEnumSTATURL: one walk over the store; released when destroyed.
class UrlHistoryEnum {
  public:
    virtual ~UrlHistoryEnum() = default;

    // Fills up to `celt` records and says how many in `*pceltFetched`; 1 (false)
    // when fewer than asked were left. Every field but cbSize is written.
    virtual HResult Next(std::uint32_t celt, StatUrl* rgelt, std::uint32_t* pceltFetched) = 0;
    // From now on only URLs that start with `poszFilter` are listed, as the
    // query flags allow; a null prefix with flags 0 lists every entry.
    virtual HResult SetFilter(const char16_t* poszFilter, std::uint32_t dwFlags) = 0;
};

// IUrlHistoryStg2 of one store object; released when destroyed.
class UrlHistoryStg {
  public:
    virtual ~UrlHistoryStg() = default;

    virtual HResult AddUrl(const char16_t* pocsUrl, const char16_t* pocsTitle,
                           std::uint32_t dwFlags) = 0;
    virtual HResult DeleteUrl(const char16_t* pocsUrl, std::uint32_t dwFlags) = 0;
    // On success `enumerator` holds a new walk over the store.
    virtual HResult EnumUrls(std::unique_ptr<UrlHistoryEnum>& enumerator) = 0;
    virtual HResult ClearHistory() = 0;
};

// The system's URL history and the services its records need.
class UrlHistory {
  public:
    virtual ~UrlHistory() = default;

    // CoCreateInstance of CLSID_CUrlHistory for IUrlHistoryStg2. The store
    // keeps COM ready on this thread for as long as it lives.
    virtual HResult CreateUrlHistoryStg(std::unique_ptr<UrlHistoryStg>& store) = 0;
    // Frees a string of a STATURL record; null is harmless.
    virtual void CoTaskMemFree(void* block) = 0;

    // The conversions of kernel32 and oleaut32; false on failure, with the
    // output then not to be relied on. A variant time counts days since
    // 30 December 1899 and ignores milliseconds.
    virtual bool FileTimeToLocalFileTime(const FileTime& fileTime, FileTime& localFileTime) = 0;
    virtual bool FileTimeToSystemTime(const FileTime& fileTime, SystemTime& systemTime) = 0;
    virtual bool SystemTimeToVariantTime(const SystemTime& systemTime, double& variantTime) = 0;
};

}  // namespace vw
