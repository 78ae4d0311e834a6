// <wininet.h> needs the definitions of <windows.h> before it.
// clang-format off
#include <windows.h>
#include <wininet.h>
// clang-format on

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/contract/file_cases.h"
#include "platform/sim/sim_platform.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_platform.h"
#include "washers/ie/ie_cache.h"
#include "washers/ie/url_history.h"

namespace vw::win32 {
namespace {

struct FindCloseUrlCacheCloser {
    void operator()(HANDLE h) const noexcept { ::FindCloseUrlCache(h); }
};

bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// Commits an entry with a file of its own, as a browser would.
void Commit(const std::string& url, DWORD type) {
    char file[MAX_PATH] = {};
    ASSERT_TRUE(::CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0)) << ::GetLastError();
    {
        const UniqueFileHandle out(::CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(out);
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(out.get(), "<html/>", 7, &written, nullptr));
    }
    const FILETIME none{};
    ASSERT_TRUE(
        ::CommitUrlCacheEntryA(url.c_str(), file, none, none, type, nullptr, 0, "htm", nullptr))
        << ::GetLastError();
}

bool InCache(const std::string& url) {
    DWORD size = 0;
    return ::GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size) ||
           ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

// Every entry of the cleaner's walk (no search pattern), with its type bits.
std::map<std::string, DWORD> Walk() {
    std::map<std::string, DWORD> entries;
    std::vector<char> buffer(64 * 1024);
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
    DWORD size = static_cast<DWORD>(buffer.size());
    UniqueHandle<HANDLE, FindCloseUrlCacheCloser> find(
        ::FindFirstUrlCacheEntryA(nullptr, info, &size));
    for (bool more = bool(find); more;) {
        entries[info->lpszSourceUrlName] = info->CacheEntryType;
        size = static_cast<DWORD>(buffer.size());
        more = ::FindNextUrlCacheEntryA(find.get(), info, &size);
    }
    return entries;
}

TEST(Win32UrlCache, TheCleanerDeletesTheEntriesWithTheNormalBitFromTheRealCache) {
    const std::string page = "http://vantrix.test/page.htm";
    const std::string cookie = "http://vantrix.test/cookie.txt";
    // Wine keeps the bits of a history entry as given; a content entry always
    // gets the normal bit, so the cookie-typed one is an ordinary entry too.
    const std::string visited = "Visited: user@http://vantrix.test/visited.htm";
    Commit(page, NORMAL_CACHE_ENTRY);
    Commit(cookie, COOKIE_CACHE_ENTRY);
    Commit(visited, URLHISTORY_CACHE_ENTRY);
    std::map<std::string, DWORD> before = Walk();
    ASSERT_EQ(before.count(page) + before.count(cookie) + before.count(visited), 3u);
    EXPECT_EQ(before[cookie], static_cast<DWORD>(COOKIE_CACHE_ENTRY | NORMAL_CACHE_ENTRY));
    EXPECT_EQ(before[visited], static_cast<DWORD>(URLHISTORY_CACHE_ENTRY));

    Win32Platform real;
    DeleteCacheURLList(real.Get());

    EXPECT_FALSE(InCache(page));
    EXPECT_FALSE(InCache(cookie));
    const std::map<std::string, DWORD> after = Walk();
    EXPECT_EQ(after.count(visited), 1u);
    for (const auto& [url, type] : after) EXPECT_FALSE(type & NORMAL_CACHE_ENTRY) << url;

    // With whatever is left taken out, the cache is empty: the probe then ends
    // the walk at once.
    for (const auto& entry : after) ::DeleteUrlCacheEntryA(entry.first.c_str());
    DWORD size = 0;
    EXPECT_EQ(::FindFirstUrlCacheEntryA(nullptr, nullptr, &size), nullptr);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    DeleteCacheURLList(real.Get());
}

TEST(Win32UrlHistory, WinesStoreFailsTheCollectionWithNotImplemented) {
    if (!UnderWine()) GTEST_SKIP() << "states what Wine's store answers";
    Win32Platform real;
    std::unique_ptr<UrlHistoryStg> store;
    ASSERT_EQ(real.Get().urlHistory.CreateUrlHistoryStg(store), S_OK);
    std::unique_ptr<UrlHistoryEnum> enumerator;
    EXPECT_EQ(store->EnumUrls(enumerator), E_NOTIMPL);
    EXPECT_EQ(store->AddUrl(u"http://vantrix.test/", u"t", 0), E_NOTIMPL);
    EXPECT_EQ(store->ClearHistory(), E_NOTIMPL);
    EXPECT_EQ(store->DeleteUrl(u"http://vantrix.test/", 0), E_NOTIMPL);
    store.reset();

    EXPECT_EQ(contract::ErrorOf([&] { CURLHistory history(real.Get()); }),
              static_cast<HResult>(0x80004001u));
}

// The simulated conversions against the real ones, from the epoch of a
// FILETIME to beyond the last variant date.
TEST(Win32UrlHistory, TimeConversionsAgreeWithTheSimulation) {
    sim::SimPlatform sim;
    Win32Platform real;
    UrlHistory& s = sim.urlHistory;
    UrlHistory& r = real.Get().urlHistory;

    const SYSTEMTIME moments[] = {
        {1601, 1, 1, 1, 0, 0, 0, 0},       {1899, 12, 5, 29, 6, 0, 0, 0},
        {1899, 12, 6, 30, 0, 0, 0, 0},     {2023, 6, 4, 15, 12, 0, 0, 500},
        {2024, 2, 4, 29, 23, 59, 59, 999}, {9999, 12, 5, 31, 23, 59, 59, 0},
        {10000, 1, 6, 1, 0, 0, 0, 0},
    };
    for (const SYSTEMTIME& moment : moments) {
        FILETIME native{};
        ASSERT_TRUE(::SystemTimeToFileTime(&moment, &native));
        const FileTime time{native.dwLowDateTime, native.dwHighDateTime};
        SystemTime fromSim{}, fromReal{};
        ASSERT_TRUE(s.FileTimeToSystemTime(time, fromSim));
        ASSERT_TRUE(r.FileTimeToSystemTime(time, fromReal));
        EXPECT_EQ(std::memcmp(&fromSim, &fromReal, sizeof fromSim), 0) << moment.wYear;

        double simDate = -1, realDate = -1;
        const bool simOk = s.SystemTimeToVariantTime(fromSim, simDate);
        EXPECT_EQ(simOk, r.SystemTimeToVariantTime(fromReal, realDate)) << moment.wYear;
        if (simOk) {
            EXPECT_NEAR(simDate, realDate, 1e-9) << moment.wYear;
        }
    }
    const FileTime tooLate{0, 0x80000000};
    SystemTime unused{};
    EXPECT_FALSE(s.FileTimeToSystemTime(tooLate, unused));
    EXPECT_FALSE(r.FileTimeToSystemTime(tooLate, unused));
}

}  // namespace
}  // namespace vw::win32
