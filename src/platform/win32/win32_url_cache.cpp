#include "platform/win32/win32_url_cache.h"

#include <windows.h>
// Needs the definitions of <windows.h> before it.
#include <wininet.h>

#include <cstddef>

namespace vw::win32 {
namespace {

// The core reads records through its own declaration of the structure.
using Info = INTERNET_CACHE_ENTRY_INFOA;
static_assert(sizeof(CacheEntryInfo) == sizeof(Info));
static_assert(offsetof(CacheEntryInfo, lpszSourceUrlName) == offsetof(Info, lpszSourceUrlName));
static_assert(offsetof(CacheEntryInfo, lpszLocalFileName) == offsetof(Info, lpszLocalFileName));
static_assert(offsetof(CacheEntryInfo, CacheEntryType) == offsetof(Info, CacheEntryType));
static_assert(offsetof(CacheEntryInfo, LastModifiedTime) == offsetof(Info, LastModifiedTime));
static_assert(offsetof(CacheEntryInfo, LastSyncTime) == offsetof(Info, LastSyncTime));
static_assert(offsetof(CacheEntryInfo, lpHeaderInfo) == offsetof(Info, lpHeaderInfo));
static_assert(offsetof(CacheEntryInfo, lpszFileExtension) == offsetof(Info, lpszFileExtension));
static_assert(offsetof(CacheEntryInfo, dwReserved) == offsetof(Info, dwReserved));
static_assert(cacheentry::kNormal == NORMAL_CACHE_ENTRY &&
              cacheentry::kCookie == COOKIE_CACHE_ENTRY &&
              cacheentry::kUrlHistory == URLHISTORY_CACHE_ENTRY);

Info* Native(CacheEntryInfo* info) {
    return reinterpret_cast<Info*>(info);
}
HANDLE Native(CacheFindHandle find) {
    return reinterpret_cast<HANDLE>(find);
}

// DWORD and std::uint32_t differ in type, not in size: the size goes through
// a DWORD of our own and back. Writing it back leaves the last error alone.
class Size {
  public:
    explicit Size(std::uint32_t* size) : size_(size), value_(size ? *size : 0) {}
    ~Size() {
        if (size_) *size_ = value_;
    }
    Size(const Size&) = delete;
    Size& operator=(const Size&) = delete;
    DWORD* get() { return size_ ? &value_ : nullptr; }

  private:
    std::uint32_t* size_;
    DWORD value_;
};

}  // namespace

CacheFindHandle Win32UrlCache::FindFirstUrlCacheEntryA(const char* searchPattern,
                                                       CacheEntryInfo* entryInfo,
                                                       std::uint32_t* entryInfoSize) {
    Size size(entryInfoSize);
    return reinterpret_cast<CacheFindHandle>(
        ::FindFirstUrlCacheEntryA(searchPattern, Native(entryInfo), size.get()));
}

bool Win32UrlCache::FindNextUrlCacheEntryA(CacheFindHandle find, CacheEntryInfo* entryInfo,
                                           std::uint32_t* entryInfoSize) {
    Size size(entryInfoSize);
    return ::FindNextUrlCacheEntryA(Native(find), Native(entryInfo), size.get()) != FALSE;
}

bool Win32UrlCache::DeleteUrlCacheEntryA(const std::string& urlName) {
    return ::DeleteUrlCacheEntryA(urlName.c_str()) != FALSE;
}

bool Win32UrlCache::FindCloseUrlCache(CacheFindHandle find) {
    return ::FindCloseUrlCache(Native(find)) != FALSE;
}

std::uint32_t Win32UrlCache::GetLastError() {
    return ::GetLastError();
}

void* Win32UrlCache::LocalAlloc(std::uint32_t flags, std::size_t bytes) {
    return ::LocalAlloc(flags, bytes);
}

void* Win32UrlCache::LocalFree(void* block) {
    return ::LocalFree(block);
}

}  // namespace vw::win32
