#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/start_process.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "probe_cases.h"

namespace vw::win32 {
namespace {

std::wstring Wide(const std::string& utf8) {
    std::wstring wide;
    ToWide(utf8, wide);
    return wide;
}

void MakeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    UniqueFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.get(), "bytes", 5, &written, nullptr));
}

TEST(Win32ProbeTest, Contract) {
    wchar_t temp[MAX_PATH + 1];
    const std::wstring folder = std::wstring(temp, ::GetTempPathW(MAX_PATH + 1, temp)) +
                                L"vw-probe-" + std::to_wstring(::GetCurrentProcessId());
    const std::string key = "Software\\VantrixProbe\\" + std::to_string(::GetCurrentProcessId());
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    MakeFile(folder + L"\\f.txt");
    MakeFile(folder + L"\\ro.txt", FILE_ATTRIBUTE_READONLY);
    MakeFile(folder + L"\\held.txt");
    ::CreateDirectoryW((folder + L"\\dir").c_str(), nullptr);
    UniqueRegKey sub;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, Wide(key + "\\k\\sub").c_str(), 0, nullptr, 0,
                      KEY_ALL_ACCESS, nullptr, sub.put(), nullptr);
    {
        const UniqueFileHandle held(::CreateFileW((folder + L"\\held.txt").c_str(), GENERIC_READ, 0,
                                                  nullptr, OPEN_EXISTING, 0, nullptr));
        Win32Platform platform;
        contract::CheckProbes({platform.Get(), FromWide(folder), key});
    }
    sub.reset();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VantrixProbe");
    ::SetFileAttributesW((folder + L"\\ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const wchar_t* name : {L"\\f.txt", L"\\ro.txt", L"\\held.txt"}) {
        ::DeleteFileW((folder + name).c_str());
    }
    ::RemoveDirectoryW((folder + L"\\dir").c_str());
    EXPECT_TRUE(::RemoveDirectoryW(folder.c_str()));
}

// The program beside this test: the exit codes that need no report read.
DWORD RunPreview(const std::wstring& arguments) {
    wchar_t self[MAX_PATH];
    const std::wstring path(self, ::GetModuleFileNameW(nullptr, self, MAX_PATH));
    const std::wstring program = path.substr(0, path.rfind(L'\\') + 1) + L"vantrixpreview.exe";
    StartOptions<wchar_t> options;
    options.creationFlags = CREATE_NO_WINDOW;
    const StartedProcess started = StartProcess(program, arguments, options);
    DWORD code = ~0u;
    if (started.process && ::WaitForSingleObject(started.process.get(), 120000) == 0) {
        ::GetExitCodeProcess(started.process.get(), &code);
    }
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
