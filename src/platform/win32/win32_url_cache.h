#pragma once

#include "platform/url_cache.h"

namespace vw::win32 {

// Forwards to WinINet's ANSI URL-cache functions and the local heap.
class Win32UrlCache final : public UrlCache {
  public:
    CacheFindHandle FindFirstUrlCacheEntryA(const char* searchPattern, CacheEntryInfo* entryInfo,
                                            std::uint32_t* entryInfoSize) override;
    bool FindNextUrlCacheEntryA(CacheFindHandle find, CacheEntryInfo* entryInfo,
                                std::uint32_t* entryInfoSize) override;
    bool DeleteUrlCacheEntryA(const std::string& urlName) override;
    bool FindCloseUrlCache(CacheFindHandle find) override;
    std::uint32_t GetLastError() override;
    void* LocalAlloc(std::uint32_t flags, std::size_t bytes) override;
    void* LocalFree(void* block) override;
};

}  // namespace vw::win32
