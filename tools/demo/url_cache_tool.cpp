// The demo's window on the URL cache of its sandbox:
//   url_cache_tool add <url>...   commits one normal entry per URL
//   url_cache_tool count <url>... prints how many of those URLs are cached
//   url_cache_tool walk           prints how many entries every container holds
#include <windows.h>
// Needs the definitions of <windows.h> before it.
#include <wininet.h>

#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

bool Add(const char* url) {
    char file[MAX_PATH] = {};
    if (!CreateUrlCacheEntryA(url, 0, "htm", file, 0)) return false;
    std::ofstream(file) << "<html>demo</html>";
    const FILETIME none{};
    return CommitUrlCacheEntryA(url, file, none, none, NORMAL_CACHE_ENTRY, nullptr, 0, "htm",
                                nullptr) != FALSE;
}

bool Cached(const char* url) {
    DWORD size = 0;
    return GetUrlCacheEntryInfoA(url, nullptr, &size) ||
           GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

int Walk() {
    alignas(INTERNET_CACHE_ENTRY_INFOA) char buffer[64 * 1024];
    auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer);
    DWORD size = sizeof buffer;
    const HANDLE walk = FindFirstUrlCacheEntryA(nullptr, entry, &size);
    int count = 0;
    for (bool more = walk != nullptr; more; more = FindNextUrlCacheEntryA(walk, entry, &size))
        ++count, size = sizeof buffer;
    if (walk) FindCloseUrlCache(walk);
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    if (std::strcmp(argv[1], "walk") == 0) return std::printf("%d\n", Walk()), 0;
    const bool add = std::strcmp(argv[1], "add") == 0;
    int count = 0;
    for (int i = 2; i < argc; ++i) {
        if (add && !Add(argv[i])) return 1;
        count += Cached(argv[i]) ? 1 : 0;
    }
    std::printf("%d\n", count);
    return 0;
}
