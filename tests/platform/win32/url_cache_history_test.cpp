// <wininet.h> needs the definitions of <windows.h> before it.
// clang-format off
#include <windows.h>
#include <wininet.h>
// clang-format on

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/contract/file_cases.h"
#include "platform/contract/url_cases.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
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

std::wstring Wide(const std::string& utf8) {
    std::wstring wide;
    EXPECT_TRUE(ToWide(utf8, wide)) << utf8;
    return wide;
}

std::string Ansi(const std::string& utf8) {
    const std::wstring wide = Wide(utf8);
    std::string out(static_cast<std::size_t>(::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1,
                                                                   nullptr, 0, nullptr, nullptr)),
                    '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, out.data(), static_cast<int>(out.size()),
                          nullptr, nullptr);
    out.pop_back();
    return out;
}

// Commits an entry with a file of its own, as a browser would, through the
// ANSI forms with `url`'s bytes as they are.
void CommitBytes(const std::string& url, DWORD type, const std::string& headers = "") {
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
    std::string header = headers;
    ASSERT_TRUE(::CommitUrlCacheEntryA(url.c_str(), file, none, none, type,
                                       reinterpret_cast<BYTE*>(header.data()),
                                       static_cast<DWORD>(header.size()), "htm", nullptr))
        << ::GetLastError();
}

void CommitWide(const std::wstring& url, DWORD type) {
    wchar_t file[MAX_PATH] = {};
    ASSERT_TRUE(::CreateUrlCacheEntryW(url.c_str(), 0, L"htm", file, 0)) << ::GetLastError();
    {
        const UniqueFileHandle out(::CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(out);
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(out.get(), "<html/>", 7, &written, nullptr));
    }
    const FILETIME none{};
    ASSERT_TRUE(
        ::CommitUrlCacheEntryW(url.c_str(), file, none, none, type, nullptr, 0, L"htm", nullptr))
        << ::GetLastError();
}

bool InCache(const std::string& bytes) {
    DWORD size = 0;
    return ::GetUrlCacheEntryInfoA(bytes.c_str(), nullptr, &size) ||
           ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

// Every entry of a walk without search pattern, by its URL's bytes.
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

class Win32CacheStage : public contract::CacheStage {
  public:
    UrlCache& Cache() override { return real.Get().urlCache; }
    void Commit(const contract::StagedCacheEntry& entry) override {
        CommitBytes(Ansi(entry.url), entry.committedAs, std::string(entry.headerBytes, 'h'));
    }

    Win32Platform real;
};

template <typename Case>
std::string NameOf(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

class Win32CacheContract : public ::testing::TestWithParam<contract::CacheCase> {};

TEST_P(Win32CacheContract, BehavesLikeTheSimulation) {
    Win32CacheStage stage;
    contract::RunCacheCase(stage, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32CacheContract, ::testing::ValuesIn(contract::CacheCases()),
                         NameOf<contract::CacheCase>);

class Win32DateContract : public ::testing::TestWithParam<contract::DateCase> {};

TEST_P(Win32DateContract, ConvertsLikeTheSimulation) {
    const FILETIME utc{GetParam().utc.dwLowDateTime, GetParam().utc.dwHighDateTime};
    FILETIME local{};
    if (::FileTimeToLocalFileTime(&utc, &local) &&
        (local.dwLowDateTime != utc.dwLowDateTime || local.dwHighDateTime != utc.dwHighDateTime)) {
        GTEST_SKIP() << "the cases hold dates where local time is UTC";
    }
    Win32Platform real;
    EXPECT_NEAR(real.Get().urlHistory.LocalDate(GetParam().utc), GetParam().date, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32DateContract, ::testing::ValuesIn(contract::DateCases()),
                         NameOf<contract::DateCase>);

class Win32StoreContract : public ::testing::TestWithParam<contract::StoreCase> {};

TEST_P(Win32StoreContract, FailsLikeTheSimulation) {
    if (!UnderWine()) GTEST_SKIP() << "states what Wine's store answers";
    Win32Platform real;
    const std::unique_ptr<HistoryStore> store = real.Get().urlHistory.OpenStore();
    EXPECT_EQ(contract::ErrorOf([&] { GetParam().run(*store); }), hresult::kNotImplemented);
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32StoreContract, ::testing::ValuesIn(contract::StoreCases()),
                         NameOf<contract::StoreCase>);

TEST(Win32UrlHistory, WinesStoreEndsTheCollectionAtItsFirstRead) {
    if (!UnderWine()) GTEST_SKIP() << "states what Wine's store answers";
    Win32Platform real;
    EXPECT_EQ(contract::ErrorOf([&] { CURLHistory history(real.Get()); }),
              hresult::kNotImplemented);
}

TEST(Win32UrlCache, TheCleanerDeletesTheEntriesWithTheNormalBitFromTheRealCache) {
    const std::string page = "http://vantrix.test/page.htm";
    const std::string cookie = "http://vantrix.test/cookie.txt";
    // Wine keeps the bits of a history entry as given; a content entry always
    // gets the normal bit, so the cookie-typed one is an ordinary entry too.
    const std::string visited = "Visited: user@http://vantrix.test/visited.htm";
    // Every byte an ANSI URL may hold names its entry when the walk gives it back.
    std::string bytes = "http://vantrix.test/bytes/";
    for (int b = 0x80; b <= 0xFF; ++b) bytes += static_cast<char>(b);
    CommitBytes(page, NORMAL_CACHE_ENTRY);
    CommitBytes(cookie, COOKIE_CACHE_ENTRY);
    CommitBytes(visited, URLHISTORY_CACHE_ENTRY);
    CommitBytes(bytes, NORMAL_CACHE_ENTRY);
    // A browser commits in UTF-16: the cache keeps the path in UTF-8 and the
    // host in its ASCII form, and the ANSI walk lists those bytes.
    const std::string utf8Path = "http://vantrix.test/na\xC3\xAFve\xE6\x97\xA5.htm";
    const std::string asciiHost = "http://xn--x-9fa1768e.test/host.htm";
    CommitWide(L"http://vantrix.test/na\x00EFve\x65E5.htm", NORMAL_CACHE_ENTRY);
    CommitWide(L"http://\x00E9x\x65E5.test/host.htm", NORMAL_CACHE_ENTRY);
    ASSERT_TRUE(InCache(page) && InCache(cookie) && InCache(visited) && InCache(bytes) &&
                InCache(utf8Path) && InCache(asciiHost));

    Win32Platform real;
    DeleteCacheURLList(real.Get());

    EXPECT_FALSE(InCache(page));
    EXPECT_FALSE(InCache(cookie));
    EXPECT_FALSE(InCache(bytes));
    EXPECT_FALSE(InCache(utf8Path));
    EXPECT_FALSE(InCache(asciiHost));
    const std::map<std::string, DWORD> after = Walk();
    EXPECT_EQ(after.count(visited), 1u);
    for (const auto& [url, type] : after) EXPECT_FALSE(type & NORMAL_CACHE_ENTRY) << url;

    // With whatever is left taken out, the cache is empty: its walk yields nothing.
    for (const auto& entry : after) ::DeleteUrlCacheEntryA(entry.first.c_str());
    DWORD size = 0;
    EXPECT_EQ(::FindFirstUrlCacheEntryA(nullptr, nullptr, &size), nullptr);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    CacheEntry entry;
    EXPECT_FALSE(real.Get().urlCache.Walk()->Next(entry));
}

}  // namespace
}  // namespace vw::win32
