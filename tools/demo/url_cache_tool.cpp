// The demo's window on the URL cache of its sandbox:
//   url_cache_tool add <url>...   commits one normal entry per URL
//   url_cache_tool count <url>... prints how many of those URLs are cached
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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const bool add = std::strcmp(argv[1], "add") == 0;
    int count = 0;
    for (int i = 2; i < argc; ++i) {
        if (add && !Add(argv[i])) return 1;
        count += Cached(argv[i]) ? 1 : 0;
    }
    std::printf("%d\n", count);
    return 0;
}
