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

#include "platform/file_system_object.h"
#include "platform/sim/sim_platform.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "text/utf8.h"

namespace vw::win32 {
namespace {

std::wstring Wide(const std::string& utf8) {
    std::wstring wide;
    EXPECT_TRUE(ToWide(utf8, wide)) << utf8;
    return wide;
}

// Commits an entry with a file of its own, as a browser would, through the
// ANSI or the wide forms of the calls.
template <typename Char, typename Create, typename CommitEntry, typename Headers>
void Commit(Create create, CommitEntry commit, const std::basic_string<Char>& url, DWORD type,
            Headers headers, DWORD headerBytes) {
    Char file[MAX_PATH] = {}, ext[] = {'h', 't', 'm', 0};
    ASSERT_TRUE(create(url.c_str(), 0, ext, file, 0)) << ::GetLastError();
    std::ofstream(std::filesystem::path(file)) << "<html/>";
    ASSERT_TRUE(commit(url.c_str(), file, {}, {}, type, headers, headerBytes, ext, nullptr));
}

struct LocalFreeCloser {
    void operator()(PSECURITY_DESCRIPTOR p) const noexcept { ::LocalFree(p); }
};

// Through a handle that may write them.
void SetRights(HKEY key, const char* sddl) {
    UniqueHandle<PSECURITY_DESCRIPTOR, LocalFreeCloser> rights;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1,
                                                                       rights.put(), nullptr));
    ASSERT_EQ(::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, rights.get()), ERROR_SUCCESS);
}

// The real parts in a folder and a key of their own; the ui is simulated, so
// a message box is only recorded.
class Win32Stage : public contract::Stage {
  public:
    explicit Win32Stage(const std::string& root) : root_(root) {
        static int serial = 0;
        if (root_.empty()) {
            root_ = r_.files.TempPath() + "vw-contract-" + std::to_string(::GetCurrentProcessId()) +
                    "-" + std::to_string(serial++);
            r_.files.CreateFolder(root_);
        }
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Wide(scratch_).c_str());  // left by a crashed run
        r_.registry.Root(hkey::kCurrentUser).CreateKey(scratch_);
    }
    ~Win32Stage() override {
        // A deny-all key would stop the cleanup: everyone may do all first.
        for (const auto& key : denied_) SetRights(key.get(), "D:P(A;;KA;;;WD)");
        denied_.clear();
        held_.clear();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Wide(scratch_).c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\VantrixWashContract");
        if (root_.find("vw-contract-") != std::string::npos)
            ResumeNext([&] { FileSystemObject(r_.files).DeleteFolder(root_, true); });
    }

    Platform& Parts() override { return parts_; }
    std::string Root() override { return root_; }
    std::string Scratch() override { return scratch_; }
    void HoldOpen(const std::string& path) override {
        held_.emplace_back(::CreateFileW((L"\\\\?\\" + Wide(path)).c_str(), GENERIC_READ, 0,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_TRUE(held_.back()) << path;
    }
    void SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                  const std::string& data) override {
        // Text is stored as the platform stores it, in UTF-16.
        const bool text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
        std::u16string units;
        ASSERT_TRUE(!text || Utf8ToUtf16(data, units)) << name;
        const std::string bytes =
            text ? std::string(reinterpret_cast<const char*>(units.data()), units.size() * 2)
                 : data;
        EXPECT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, Wide(path).c_str(), Wide(name).c_str(), type,
                                    bytes.data(), static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS)
            << path << " " << name;
    }
    void DenyAll(const std::string& path) override {
        // The handle keeps the right to give the rights back.
        denied_.emplace_back();
        ::RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, WRITE_DAC, denied_.back().put());
        SetRights(denied_.back().get(), "D:P(D;;KA;;;WD)");
    }
    // Through the ANSI forms, in the code page's bytes, as browsers of the time did.
    void Commit(const std::string& url, std::uint32_t type, std::uint32_t,
                std::size_t headerBytes) override {
        const std::wstring wide = Wide(url);
        std::string ansi(wide.size() * 2, '\0'), headers(headerBytes, 'h');
        ansi.resize(static_cast<std::size_t>(
            ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                  ansi.data(), static_cast<int>(ansi.size()), nullptr, nullptr)));
        win32::Commit(::CreateUrlCacheEntryA, ::CommitUrlCacheEntryA, ansi, type,
                      reinterpret_cast<BYTE*>(headers.data()), static_cast<DWORD>(headerBytes));
    }
    std::string Extra(const std::vector<std::string>& a) override {
        if (a[0] != "commitw") return "unsupported";
        return win32::Commit(::CreateUrlCacheEntryW, ::CommitUrlCacheEntryW, Wide(a[1]),
                             NORMAL_CACHE_ENTRY, nullptr, 0),
               "0";
    }

  private:
    sim::SimPlatform sim_;
    Win32Platform real_;
    Platform& r_ = real_.Get();
    Platform parts_{r_.profile, r_.shell,    r_.process,  r_.files,
                    sim_.ui,    r_.registry, r_.urlCache, r_.urlHistory};
    std::string root_;
    std::string scratch_ =
        "Software\\VantrixWashContract\\" + std::to_string(::GetCurrentProcessId());
    std::vector<UniqueFileHandle> held_;
    std::vector<UniqueRegKey> denied_;
};

// What ctest stages before this program starts (stage_sandbox.sh): a Windows
// program under Wine can make neither a link nor a drive.
const char* Unstaged(const contract::Case& c) {
    FILETIME utc{0, 0x01D99F80}, local{};
    ::FileTimeToLocalFileTime(&utc, &local);
    if (c.Has("sim")) return "stages what only the simulation can";
    if (c.Has("links") &&
        !(::GetFileAttributesA("C:\\vw-fs-links\\victim\\link") & FILE_ATTRIBUTE_REPARSE_POINT))
        return "needs the links ctest stages (e2e_sandbox_set)";
    if (c.Has("nomedium") && ::GetDriveTypeA("N:\\") != DRIVE_CDROM)
        return "needs drive N: that ctest stages (e2e_sandbox_set)";
    if (c.Has("utc") && local.dwHighDateTime != utc.dwHighDateTime) return "local time is not UTC";
    return nullptr;
}

class Win32Contract : public ::testing::TestWithParam<contract::Case> {};

TEST_P(Win32Contract, BehavesLikeTheSimulation) {
    if (const char* why = Unstaged(GetParam())) GTEST_SKIP() << why;
    Win32Stage stage(GetParam().Has("links") ? "C:\\vw-fs-links" : "");
    contract::Run(GetParam(), stage, "wine");
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32Contract, ::testing::ValuesIn(contract::Cases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vw::win32
