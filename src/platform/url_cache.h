#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/file_time.h"

namespace vw {

// INTERNET_CACHE_ENTRY_INFOA as the build target lays it out: 80 bytes on a
// 32-bit target, 112 on a 64-bit one (its four pointers widen and pad). The
// Win32 backend proves the layout against the platform's own declaration.
// WinINet puts the strings the pointers refer to in the same buffer, after
// this fixed part.
struct CacheEntryInfo {
    std::uint32_t dwStructSize;
    char* lpszSourceUrlName;
    char* lpszLocalFileName;
    std::uint32_t CacheEntryType;
    std::uint32_t dwUseCount;
    std::uint32_t dwHitRate;
    std::uint32_t dwSizeLow;
    std::uint32_t dwSizeHigh;
    FileTime LastModifiedTime;
    FileTime ExpireTime;
    FileTime LastAccessTime;
    FileTime LastSyncTime;
    char* lpHeaderInfo;
    std::uint32_t dwHeaderInfoSize;
    char* lpszFileExtension;
    std::uint32_t dwReserved;
};

// Cache entry type bits.
namespace cacheentry {
constexpr std::uint32_t kNormal = 0x1;
constexpr std::uint32_t kSticky = 0x4;
constexpr std::uint32_t kSparse = 0x10000;
constexpr std::uint32_t kCookie = 0x100000;
constexpr std::uint32_t kUrlHistory = 0x200000;
}  // namespace cacheentry

// Last-error codes of the cache and heap calls that callers look at.
namespace cacheerror {
constexpr std::uint32_t kNotEnoughMemory = 8;
constexpr std::uint32_t kSharingViolation = 32;
constexpr std::uint32_t kInvalidParameter = 87;
constexpr std::uint32_t kInsufficientBuffer = 122;
constexpr std::uint32_t kNoMoreItems = 259;
}  // namespace cacheerror

// An enumeration handle of the URL cache; 0 is none.
using CacheFindHandle = std::uintptr_t;

// The WinINet URL cache in its ANSI forms, and the local heap its entries are
// fetched into. Each call has the contract of the Win32 function it is named
// after; a failing call sets the last error, which GetLastError reads until
// the next call of this interface.
class UrlCache {
  public:
    virtual ~UrlCache() = default;

    // `searchPattern` null walks every content entry. With `entryInfo` null,
    // or `*entryInfoSize` below the first entry's size, no handle is returned:
    // the last error is 122 and `*entryInfoSize` becomes the size needed. An
    // empty cache gives no handle and 259, the size untouched. On success the
    // entry fills `entryInfo` and the handle must be closed with
    // FindCloseUrlCache.
    virtual CacheFindHandle FindFirstUrlCacheEntryA(const char* searchPattern,
                                                    CacheEntryInfo* entryInfo,
                                                    std::uint32_t* entryInfoSize) = 0;
    // The next entry of the walk, with the size protocol of the first: false
    // with 122 and the size needed when the buffer is null or too small (the
    // walk stays at that entry), false with 259 and the size untouched at the
    // end. Entries deleted during the walk are passed over.
    virtual bool FindNextUrlCacheEntryA(CacheFindHandle find, CacheEntryInfo* entryInfo,
                                        std::uint32_t* entryInfoSize) = 0;
    // False when there is no such entry or it may not be deleted (in use).
    virtual bool DeleteUrlCacheEntryA(const std::string& urlName) = 0;
    virtual bool FindCloseUrlCache(CacheFindHandle find) = 0;
    virtual std::uint32_t GetLastError() = 0;

    // LocalAlloc and LocalFree: a block of at least `bytes` bytes, null on
    // failure (last error 8). With flags 0 (fixed) the contents are undefined.
    // LocalFree returns null once the block is freed.
    virtual void* LocalAlloc(std::uint32_t flags, std::size_t bytes) = 0;
    virtual void* LocalFree(void* block) = 0;
};

}  // namespace vw
