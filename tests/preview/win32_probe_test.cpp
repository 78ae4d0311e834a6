#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/start_process.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_process.h"
#include "probe_cases.h"

namespace vw::win32 {
namespace {

std::wstring Wide(const std::string& utf8) {
    std::wstring wide;
    EXPECT_TRUE(ToWide(utf8, wide)) << utf8;
    return wide;
}

std::string TempFolder() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, buffer);
    return FromWide(std::wstring(buffer, n));
}

// A folder under the temp folder and a key under HKEY_CURRENT_USER, both
// this process's own, removed with everything in them.
class Win32ProbeStage : public contract::ProbeStage {
  public:
    Win32ProbeStage() {
        const std::string id = std::to_string(::GetCurrentProcessId()) + "." + std::to_string(++n_);
        folder_ = TempFolder() + "vw-probe-" + id;
        key_ = "Software\\VantrixProbe\\" + id;
        ::CreateDirectoryW(Wide(folder_).c_str(), nullptr);
        MakeKey("");
    }
    ~Win32ProbeStage() override {
        held_.clear();
        Remove(folder_);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Wide(key_).c_str());
    }

    Platform& Seam() override { return platform_.Get(); }
    const std::string& Folder() const override { return folder_; }
    void MakeFile(const std::string& name, const std::string& bytes,
                  std::uint32_t attributes) override {
        const std::wstring path = Wide(folder_ + "\\" + name);
        UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        ::WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr);
        file.reset();
        if (attributes) ::SetFileAttributesW(path.c_str(), attributes);
    }
    void MakeFolder(const std::string& name) override {
        ::CreateDirectoryW(Wide(folder_ + "\\" + name).c_str(), nullptr);
    }
    void HoldOpen(const std::string& name) override {
        held_.emplace_back(::CreateFileW(Wide(folder_ + "\\" + name).c_str(), GENERIC_READ, 0,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held_.back());
    }
    bool FileExists(const std::string& name) override {
        return ::GetFileAttributesW(Wide(folder_ + "\\" + name).c_str()) !=
               INVALID_FILE_ATTRIBUTES;
    }
    const std::string& Key() const override { return key_; }
    void MakeKey(const std::string& path) override {
        UniqueRegKey key;
        const std::string full = path.empty() ? key_ : key_ + "\\" + path;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, Wide(full).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, key.put(), nullptr);
    }
    bool KeyExists(const std::string& path) override {
        UniqueRegKey key;
        return ::RegOpenKeyExW(HKEY_CURRENT_USER, Wide(key_ + "\\" + path).c_str(), 0, KEY_READ,
                               key.put()) == ERROR_SUCCESS;
    }

  private:
    static void Remove(const std::string& path) {
        const std::wstring wide = Wide(path);
        WIN32_FIND_DATAW data;
        UniqueFindHandle find(::FindFirstFileW((wide + L"\\*").c_str(), &data));
        for (bool more = bool(find); more; more = ::FindNextFileW(find.get(), &data)) {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = wide + L"\\" + name;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                Remove(FromWide(child));
            } else {
                ::DeleteFileW(child.c_str());
            }
        }
        find.reset();
        ::RemoveDirectoryW(wide.c_str());
    }

    static inline int n_ = 0;
    Win32Platform platform_;
    std::string folder_, key_;
    std::vector<UniqueFileHandle> held_;
};

class Win32ProbeContract : public ::testing::TestWithParam<contract::ProbeCase> {};

TEST_P(Win32ProbeContract, Holds) {
    Win32ProbeStage stage;
    GetParam().run(stage);
}

INSTANTIATE_TEST_SUITE_P(Win32, Win32ProbeContract, ::testing::ValuesIn(contract::ProbeCases()));

// The program itself, beside this test: exit codes of its three answers
// that need no report to be read.
DWORD RunPreview(const std::wstring& arguments) {
    wchar_t self[MAX_PATH];
    const std::wstring path(self, ::GetModuleFileNameW(nullptr, self, MAX_PATH));
    const std::wstring program = path.substr(0, path.rfind(L'\\') + 1) + L"vantrixpreview.exe";
    StartOptions<wchar_t> options;
    options.creationFlags = CREATE_NO_WINDOW;
    const StartedProcess started = StartProcess(program, arguments, options);
    EXPECT_TRUE(started.process);
    if (!started.process) return ~0u;
    ::WaitForSingleObject(started.process.get(), 120000);
    DWORD code = ~0u;
    ::GetExitCodeProcess(started.process.get(), &code);
    return code;
}

TEST(VantrixPreview, ArgumentsAndTheWashesInstance) {
    EXPECT_EQ(RunPreview(L"--help"), 0u);
    EXPECT_EQ(RunPreview(L"--json --bogus"), 2u);
    Win32Process wash;  // the wash's own instance, taken first
    ASSERT_FALSE(wash.AnotherInstanceRunning());
    EXPECT_EQ(RunPreview(L"--json"), 3u);
}

}  // namespace
}  // namespace vw::win32
