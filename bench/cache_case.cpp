#include <windows.h>
// Needs the definitions of <windows.h> before it.
#include <wininet.h>

#include <string>
#include <vector>

#include "bench.h"
#include "platform/win32/handles.h"
#include "washers/ie/ie_cache.h"

namespace vw::bench {

namespace {

struct FindCloseUrlCacheCloser {
    void operator()(HANDLE h) const noexcept { ::FindCloseUrlCache(h); }
};
using UniqueCacheFind = win32::UniqueHandle<HANDLE, FindCloseUrlCacheCloser>;

constexpr char kUrlStart[] = "http://bench.vantrix.test/";

std::string Url(long i) {
    return Format("%spage%05ld.html", kUrlStart, i);
}

// How many entries of the cache are ours.
long OurEntries() {
    std::vector<char> buffer(64 * 1024);
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
    DWORD size = static_cast<DWORD>(buffer.size());
    UniqueCacheFind find(::FindFirstUrlCacheEntryA(nullptr, info, &size));
    long count = 0;
    if (!find) return count;
    do {
        const char* url = info->lpszSourceUrlName;
        if (url && std::string(url).rfind(kUrlStart, 0) == 0) ++count;
        size = static_cast<DWORD>(buffer.size());
    } while (::FindNextUrlCacheEntryA(find.get(), info, &size));
    return count;
}

// A committed content entry with a small file of its own, as a page visit
// leaves one.
bool AddEntry(const std::string& url) {
    char file[MAX_PATH + 1] = {};
    if (!::CreateUrlCacheEntryA(url.c_str(), 0, "html", file, 0)) return false;
    {
        win32::UniqueFileHandle out(::CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out) return false;
        const std::string page = "<html><body>cached page</body></html>";
        DWORD written = 0;
        if (!::WriteFile(out.get(), page.data(), static_cast<DWORD>(page.size()), &written,
                         nullptr)) {
            return false;
        }
    }
    const FILETIME none{};
    static const char kHeaders[] = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n";
    return ::CommitUrlCacheEntryA(url.c_str(), file, none, none, NORMAL_CACHE_ENTRY,
                                  reinterpret_cast<BYTE*>(const_cast<char*>(kHeaders)),
                                  sizeof kHeaders - 1, nullptr, nullptr) != FALSE;
}

bool SeedCache(long n) {
    for (long i = 0; i < n; ++i) ::DeleteUrlCacheEntryA(Url(i).c_str());
    for (long i = 0; i < n; ++i) {
        if (!AddEntry(Url(i))) return false;
    }
    // The cache may refuse or scavenge entries when it thinks itself full.
    return OurEntries() == n;
}

// The URLs the limit deletes, made before any timing.
std::vector<std::string> gKnownUrls;

void PrepareCache(Context&, long n) {
    for (long i = 0; i < n; ++i) gKnownUrls.push_back(Url(i));
    // Opens the cache index once, so neither side pays for it first.
    OurEntries();
}

void WashCache(Context& ctx, long) {
    DeleteCacheURLList(ctx.platform());
}

void LimitCache(Context&, long) {
    for (const std::string& url : gKnownUrls) ::DeleteUrlCacheEntryA(url.c_str());
}

// The same job done directly: the URLs are not known in advance, so the
// cache is walked into one buffer and each ordinary entry deleted on the way.
void LimitCacheWalk(Context&, long) {
    std::vector<char> buffer(64 * 1024);
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
    DWORD size = static_cast<DWORD>(buffer.size());
    UniqueCacheFind find(::FindFirstUrlCacheEntryA(nullptr, info, &size));
    if (!find) return;
    do {
        if ((info->CacheEntryType & NORMAL_CACHE_ENTRY) && info->lpszSourceUrlName) {
            ::DeleteUrlCacheEntryA(info->lpszSourceUrlName);
        }
        size = static_cast<DWORD>(buffer.size());
    } while (::FindNextUrlCacheEntryA(find.get(), info, &size));
}

std::string CacheLeftover(long) {
    const long left = OurEntries();
    return left ? Format("%ld cache entries left", left) : std::string();
}

}  // namespace

const Case kCacheCase = [] {
    Case c;
    c.name = "cache";
    c.defaultN = 5000;
    c.defaultReps = 5;
    c.seed = SeedCache;
    c.prepare = PrepareCache;
    c.wash = WashCache;
    c.limit = LimitCache;
    c.leftover = CacheLeftover;
    return c;
}();

// The cache wash against the direct walk: fetching every entry, which no
// cleaner that must find its URLs can skip, is on both sides.
const Case kCacheWalkCase = [] {
    Case c = kCacheCase;
    c.name = "cache-walk";
    c.limit = LimitCacheWalk;
    return c;
}();

}  // namespace vw::bench
