#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "platform/win32/win32_platform.h"
#include "probe_cases.h"

namespace vw::win32 {
namespace {

namespace fs = std::filesystem;

TEST(Win32ProbeTest, Contract) {
    const fs::path folder =
        fs::temp_directory_path() / ("vw-probe-" + std::to_string(::GetCurrentProcessId()));
    const std::string key = "Software\\VantrixProbe\\" + std::to_string(::GetCurrentProcessId());
    fs::create_directories(folder / "dir");
    for (const char* name : {"f.txt", "ro.txt", "held.txt"})
        std::ofstream(folder / name) << "bytes";
    ASSERT_TRUE(::SetFileAttributesW((folder / "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    UniqueRegKey sub;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, (key + "\\k\\sub").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, sub.put(), nullptr);
    {
        const UniqueFileHandle held(::CreateFileW((folder / "held.txt").c_str(), GENERIC_READ, 0,
                                                  nullptr, OPEN_EXISTING, 0, nullptr));
        Win32Platform platform;
        contract::CheckProbes({platform.Get(), folder.u8string(), key});
    }
    sub.reset();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VantrixProbe");
    ::SetFileAttributesW((folder / "ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_GT(fs::remove_all(folder), 4u);
}

}  // namespace
}  // namespace vw::win32
