#pragma once

#include "platform/url_cache.h"

namespace vw::win32 {

// WinINet's URL cache through its ANSI forms: the cache keeps a URL as the
// bytes it was given, so a URL read in ANSI and written back in ANSI names
// the same entry, whatever those bytes are.
class Win32UrlCache final : public UrlCache {
  public:
    std::unique_ptr<CacheWalk> Walk() override;
    bool DeleteEntry(const std::string& url) override;
};

}  // namespace vw::win32
