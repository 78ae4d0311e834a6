// <wininet.h> needs the definitions of <windows.h> before it.
// clang-format off
#include <windows.h>
#include <wininet.h>
// clang-format on

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/contract/file_cases.h"
#include "platform/contract/url_cases.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "washers/ie/ie_cache.h"

namespace vw::win32 {
namespace {

bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// Commits an entry with a file of its own, as a browser would: through the
// ANSI forms with `url`'s bytes as they are, or through the UTF-16 forms.
void Commit(const std::string& url, DWORD type, std::string headers = "") {
    char file[MAX_PATH] = {};
    ASSERT_TRUE(::CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0)) << ::GetLastError();
    std::ofstream(file) << "<html/>";
    const FILETIME none{};
    ASSERT_TRUE(::CommitUrlCacheEntryA(url.c_str(), file, none, none, type,
                                       reinterpret_cast<BYTE*>(headers.data()),
                                       static_cast<DWORD>(headers.size()), "htm", nullptr))
        << ::GetLastError();
}
void Commit(const std::wstring& url, DWORD type) {
    wchar_t file[MAX_PATH] = {};
    ASSERT_TRUE(::CreateUrlCacheEntryW(url.c_str(), 0, L"htm", file, 0)) << ::GetLastError();
    std::ofstream(std::filesystem::path(file)) << "<html/>";
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

// A UTF-8 URL in the ANSI code page's bytes.
std::string Ansi(const std::string& utf8) {
    std::wstring wide;
    EXPECT_TRUE(ToWide(utf8, wide)) << utf8;
    std::string out(static_cast<std::size_t>(::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1,
                                                                   nullptr, 0, nullptr, nullptr)),
                    '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, out.data(), static_cast<int>(out.size()),
                          nullptr, nullptr);
    out.pop_back();
    return out;
}

class Win32CacheStage : public contract::CacheStage {
  public:
    UrlCache& Cache() override { return real.Get().urlCache; }
    void Commit(const contract::StagedCacheEntry& entry) override {
        win32::Commit(Ansi(entry.url), entry.committedAs, std::string(entry.headerBytes, 'h'));
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

// The ANSI walk gives back the bytes the cache keeps, so the cleaner deletes
// entries whatever their bytes and however they were committed.
TEST(Win32UrlCache, TheCleanerDeletesEveryOrdinaryEntryByTheNameItWasListedBy) {
    std::string bytes = "http://vantrix.test/bytes/";
    for (int b = 0x80; b <= 0xFF; ++b) bytes += static_cast<char>(b);
    Commit(bytes, NORMAL_CACHE_ENTRY);
    // In UTF-16 the cache keeps the path in UTF-8 and the host in ASCII.
    Commit(L"http://vantrix.test/na\x00EFve\x65E5.htm", NORMAL_CACHE_ENTRY);
    Commit(L"http://\x00E9x\x65E5.test/host.htm", NORMAL_CACHE_ENTRY);
    const std::string path = "http://vantrix.test/na\xC3\xAFve\xE6\x97\xA5.htm";
    const std::string host = "http://xn--x-9fa1768e.test/host.htm";
    const std::string visited = "Visited: user@http://vantrix.test/visited.htm";
    Commit(visited, URLHISTORY_CACHE_ENTRY);
    ASSERT_TRUE(InCache(bytes) && InCache(path) && InCache(host) && InCache(visited));

    Win32Platform real;
    DeleteCacheURLList(real.Get());
    EXPECT_FALSE(InCache(bytes) || InCache(path) || InCache(host));
    EXPECT_TRUE(InCache(visited));

    // With the rest taken out, the cache is empty and its walk yields nothing.
    UrlCache& cache = real.Get().urlCache;
    CacheEntry entry;
    for (auto walk = cache.Walk(); walk->Next(entry);) cache.DeleteEntry(entry.url);
    EXPECT_FALSE(cache.Walk()->Next(entry));
}

}  // namespace
}  // namespace vw::win32
