// <sddl.h> and <wininet.h> need the definitions of <windows.h> before them.
// clang-format off
#include <windows.h>
#include <sddl.h>
#include <wininet.h>
// clang-format on

#include "platform/contract/contract.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/sim/sim_platform.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "scoped_temp_folder.h"
#include "text/utf8.h"
#include "washers/ie/ie_cache.h"

namespace vw::win32 {
namespace {

constexpr char kParent[] = "Software\\VantrixWashContract";
// A Windows program under Wine can make neither a link nor a drive: ctest
// stages both before this program starts (stage_links.sh).
constexpr char kLinkRoot[] = "C:\\vw-fs-links";

std::wstring Wide(const std::string& utf8) {
    std::wstring wide;
    EXPECT_TRUE(ToWide(utf8, wide)) << utf8;
    return wide;
}
// The long-path form stages names of any script and any depth.
std::wstring Long(const std::string& path) {
    return L"\\\\?\\" + Wide(path);
}

// Commits an entry with a file of its own, as a browser would, through the
// ANSI forms with `url`'s bytes as they are.
void Commit(const std::string& url, DWORD type, std::string headers = "") {
    char file[MAX_PATH] = {};
    ASSERT_TRUE(::CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0)) << ::GetLastError();
    std::ofstream(file) << "<html/>";
    ASSERT_TRUE(::CommitUrlCacheEntryA(url.c_str(), file, {}, {}, type,
                                       reinterpret_cast<BYTE*>(headers.data()),
                                       static_cast<DWORD>(headers.size()), "htm", nullptr))
        << ::GetLastError();
}

// One name at a time, so seeding never depends on how long a full path the
// platform takes (Wine's ANSI forms stop at 260 characters).
LSTATUS Walk(const std::string& path, REGSAM access, bool create, UniqueRegKey& key) {
    HKEY at = HKEY_CURRENT_USER;
    for (std::size_t start = 0;; start = path.find('\\', start) + 1) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        const std::wstring name = Wide(path.substr(start, end - start));
        const REGSAM want = end == path.size() ? access : MAXIMUM_ALLOWED;
        UniqueRegKey next;
        const LSTATUS status = create ? ::RegCreateKeyExW(at, name.c_str(), 0, nullptr, 0, want,
                                                          nullptr, next.put(), nullptr)
                                      : ::RegOpenKeyExW(at, name.c_str(), 0, want, next.put());
        if (status != ERROR_SUCCESS) return status;
        key = std::move(next);
        at = key.get();
        if (end == path.size()) return ERROR_SUCCESS;
    }
}

struct LocalFreeCloser {
    void operator()(PSECURITY_DESCRIPTOR p) const noexcept { ::LocalFree(p); }
};

// The real parts in a folder and a key of their own; the ui is simulated, so
// a message box is only recorded. Staged with the wide API, never the backend.
class Win32Stage : public contract::Stage {
  public:
    explicit Win32Stage(const std::string& root) : root_(root.empty() ? temp_.Path() : root) {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Wide(scratch_).c_str());  // left by a crashed run
        AddKey(scratch_);
    }
    ~Win32Stage() override {
        // A deny-all key would stop the cleanup; its rights come back first.
        for (auto& [key, rights] : denied_)
            ::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, rights.data());
        denied_.clear();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Wide(scratch_).c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, Wide(kParent).c_str());
    }

    Platform& Parts() override { return parts_; }
    std::string Root() override { return root_; }
    std::string Scratch() override { return scratch_; }
    void MakeFile(const std::string& path, const std::string& bytes, std::uint32_t a) override {
        MakeParents(path);
        std::ofstream(std::filesystem::path(Long(path)), std::ios::binary) << bytes;
        EXPECT_TRUE(a == 0 || ::SetFileAttributesW(Long(path).c_str(), a)) << path;
    }
    void MakeFolder(const std::string& path, std::uint32_t a) override {
        MakeParents(path + "\\");
        EXPECT_TRUE(a == 0 || ::SetFileAttributesW(Long(path).c_str(), a)) << path;
    }
    void HoldOpen(const std::string& path) override {
        held_.emplace_back(
            ::CreateFileW(Long(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_TRUE(held_.back()) << path;
    }
    bool Exists(const std::string& path) override {
        return ::GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::string Content(const std::string& path) override {
        std::ifstream in(std::filesystem::path(Long(path)), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void AddKey(const std::string& path) override { Open(path, KEY_ALL_ACCESS, true); }
    void SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                  const std::string& data) override {
        // Text is stored as the platform stores it, in UTF-16.
        std::u16string units;
        const bool text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
        ASSERT_TRUE(!text || Utf8ToUtf16(data, units)) << name;
        const std::string bytes =
            text ? std::string(reinterpret_cast<const char*>(units.data()), units.size() * 2)
                 : data;
        EXPECT_EQ(::RegSetValueExW(Open(path, KEY_ALL_ACCESS, true).get(), Wide(name).c_str(), 0,
                                   type, reinterpret_cast<const BYTE*>(bytes.data()),
                                   static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS)
            << path << " " << name;
    }
    void DenyAll(const std::string& path) override {
        UniqueRegKey key = Open(path, READ_CONTROL | WRITE_DAC, false);
        DWORD size = 0;
        ::RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
        std::vector<unsigned char> rights(size);
        UniqueHandle<PSECURITY_DESCRIPTOR, LocalFreeCloser> denyAll;
        ASSERT_EQ(::RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, rights.data(), &size),
                  ERROR_SUCCESS);
        ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA(
            "D:P(D;;KA;;;WD)", SDDL_REVISION_1, denyAll.put(), nullptr));
        ASSERT_EQ(::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, denyAll.get()),
                  ERROR_SUCCESS);
        // The handle keeps the right to put the old list back.
        denied_.emplace_back(std::move(key), std::move(rights));
    }
    bool KeyExists(const std::string& path) override {
        UniqueRegKey key;
        return Walk(path, MAXIMUM_ALLOWED, false, key) != ERROR_FILE_NOT_FOUND;
    }
    bool ValueExists(const std::string& path, const std::string& name) override {
        UniqueRegKey key;
        return Walk(path, KEY_QUERY_VALUE, false, key) == ERROR_SUCCESS &&
               ::RegQueryValueExW(key.get(), Wide(name).c_str(), nullptr, nullptr, nullptr,
                                  nullptr) == ERROR_SUCCESS;
    }
    // In the ANSI code page's bytes, as a browser of the time committed it.
    void Commit(const std::string& url, std::uint32_t type, std::uint32_t,
                std::size_t headerBytes) override {
        const std::wstring wide = Wide(url);
        std::string ansi(wide.size() * 2, '\0');
        ansi.resize(static_cast<std::size_t>(
            ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                  ansi.data(), static_cast<int>(ansi.size()), nullptr, nullptr)));
        win32::Commit(ansi, type, std::string(headerBytes, 'h'));
    }

  private:
    static void MakeParents(const std::string& path) {
        for (auto slash = path.find('\\', 3); slash != std::string::npos;
             slash = path.find('\\', slash + 1)) {
            ::CreateDirectoryW(Long(path.substr(0, slash)).c_str(), nullptr);
        }
    }
    static UniqueRegKey Open(const std::string& path, REGSAM access, bool create) {
        UniqueRegKey key;
        EXPECT_EQ(Walk(path, access, create, key), ERROR_SUCCESS) << path;
        return key;
    }

    test::ScopedTempFolder temp_;
    std::string root_;
    std::string scratch_ = std::string(kParent) + "\\" + std::to_string(::GetCurrentProcessId());
    std::vector<UniqueFileHandle> held_;
    std::vector<std::pair<UniqueRegKey, std::vector<unsigned char>>> denied_;
    sim::SimPlatform sim_;
    Win32Platform real_;
    Platform& r_ = real_.Get();
    Platform parts_{r_.profile, r_.shell,    r_.process,  r_.files,
                    sim_.ui,    r_.registry, r_.urlCache, r_.urlHistory};
};

bool Skip(const contract::Case& c, std::string& why) {
    FILETIME local{}, utc{0, 0x01D99F80};
    ::FileTimeToLocalFileTime(&utc, &local);
    const bool wine = ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version");
    const std::pair<bool, const char*> reasons[] = {
        {c.Has("sim"), "stages what only the simulation can"},
        {c.Has("links") && !(::GetFileAttributesA("C:\\vw-fs-links\\victim\\link") &
                             FILE_ATTRIBUTE_REPARSE_POINT),
         "needs the links ctest stages (win32_stage_set)"},
        {c.Has("nomedium") && ::GetDriveTypeA("N:\\") != DRIVE_CDROM,
         "needs drive N: that ctest stages (win32_stage_set)"},
        {c.Has("utc") && local.dwHighDateTime != utc.dwHighDateTime, "local time is not UTC"},
        {c.Has("wine") && !wine, "states what Wine's store answers"}};
    for (const auto& [skip, reason] : reasons) {
        if (skip) why = reason;
    }
    return !why.empty();
}

class Win32Contract : public ::testing::TestWithParam<contract::Case> {};

TEST_P(Win32Contract, BehavesLikeTheSimulation) {
    std::string why;
    if (Skip(GetParam(), why)) GTEST_SKIP() << why;
    Win32Stage stage(GetParam().Has("links") ? kLinkRoot : "");
    contract::Run(GetParam(), stage, "wine");
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32Contract, ::testing::ValuesIn(contract::Cases()),
                         [](const auto& info) { return info.param.name; });

// The ANSI walk gives back the bytes the cache keeps, so the cleaner deletes
// entries whatever their bytes and however they were committed.
TEST(Win32UrlCache, TheCleanerDeletesEveryOrdinaryEntryByTheNameItWasListedBy) {
    std::string bytes = "http://vantrix.test/bytes/";
    for (int b = 0x80; b <= 0xFF; ++b) bytes += static_cast<char>(b);
    Commit(bytes, NORMAL_CACHE_ENTRY);
    // In UTF-16 the cache keeps the path in UTF-8 and the host in ASCII.
    for (const wchar_t* url :
         {L"http://vantrix.test/na\x00EFve\x65E5.htm", L"http://\x00E9x\x65E5.test/host.htm"}) {
        wchar_t file[MAX_PATH] = {};
        ASSERT_TRUE(::CreateUrlCacheEntryW(url, 0, L"htm", file, 0)) << ::GetLastError();
        std::ofstream(std::filesystem::path(file)) << "<html/>";
        ASSERT_TRUE(::CommitUrlCacheEntryW(url, file, {}, {}, NORMAL_CACHE_ENTRY, nullptr, 0,
                                           L"htm", nullptr));
    }
    const std::string visited = "Visited: user@http://vantrix.test/visited.htm";
    Commit(visited, URLHISTORY_CACHE_ENTRY);
    const auto inCache = [](const std::string& url) {
        DWORD size = 0;
        return ::GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size) ||
               ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
    };
    const std::string path = "http://vantrix.test/na\xC3\xAFve\xE6\x97\xA5.htm";
    const std::string host = "http://xn--x-9fa1768e.test/host.htm";
    ASSERT_TRUE(inCache(bytes) && inCache(path) && inCache(host) && inCache(visited));

    Win32Platform real;
    DeleteCacheURLList(real.Get());
    EXPECT_FALSE(inCache(bytes) || inCache(path) || inCache(host));
    EXPECT_TRUE(inCache(visited));
    // With the rest taken out, the cache is empty and its walk yields nothing.
    UrlCache& cache = real.Get().urlCache;
    CacheEntry entry;
    for (auto walk = cache.Walk(); walk->Next(entry);) cache.DeleteEntry(entry.url);
    EXPECT_FALSE(cache.Walk()->Next(entry));
}

}  // namespace
}  // namespace vw::win32
