#include "platform/win32/win32_process.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_ui.h"

namespace vw::win32 {
namespace {

// The system reports an existing mutex to its own process too, so one
// process can stand in for two instances.
TEST(Win32Process, SecondInstanceSeesTheFirstUntilItEnds) {
    const std::string name = "VantrixWash.Test." + std::to_string(::GetCurrentProcessId());
    {
        Win32Process first(name);
        EXPECT_FALSE(first.AnotherInstanceRunning() || first.AnotherInstanceRunning());
        EXPECT_TRUE(Win32Process(name).AnotherInstanceRunning());
    }
    EXPECT_FALSE(Win32Process(name).AnotherInstanceRunning()) << "the mutex outlived its owners";
    EXPECT_EQ(FolderOf("C:\\vantrixwash.exe"), "C:\\");
    EXPECT_EQ(FolderOf("C:\\bin\\vantrixwash.exe"), "C:\\bin");
}

// Started by the next test in a copy of this program: reports where it
// finds itself in the file the environment names.
TEST(Win32ProcessChild, ReportsItsProgramFolder) {
    if (const wchar_t* report = ::_wgetenv(L"VW_PROGRAM_FOLDER_REPORT")) {
        std::ofstream(std::filesystem::path(report), std::ios::binary)
            << Win32Process().ProgramFolder();
    }
}

// A folder name no ANSI code page holds: the start and the program's own
// look at its path both keep every character.
TEST(Win32Process, ProgramInANonLatinFolderStartsAndFindsItsFolder) {
    const std::string folder = Win32FileSystem().TempPath() + "Программа 日本 \xF0\x9F\x98\x80";
    std::wstring wide, self(MAX_PATH * 4, L'\0');
    ASSERT_TRUE(ToWide(folder, wide) && ::CreateDirectoryW(wide.c_str(), nullptr));
    self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    ASSERT_TRUE(::CopyFileW(self.c_str(), (wide + L"\\child.exe").c_str(), TRUE));
    ::SetEnvironmentVariableW(L"GTEST_FILTER", L"Win32ProcessChild.*");
    ::SetEnvironmentVariableW(L"VW_PROGRAM_FOLDER_REPORT", (wide + L".txt").c_str());
    const DWORD id = Win32Process().StartProgram(folder + "\\child.exe", SW_HIDE);
    ::SetEnvironmentVariableW(L"GTEST_FILTER", nullptr);
    ::SetEnvironmentVariableW(L"VW_PROGRAM_FOLDER_REPORT", nullptr);
    const UniqueKernelHandle child(::OpenProcess(SYNCHRONIZE, FALSE, id));
    ASSERT_TRUE(child);
    EXPECT_EQ(::WaitForSingleObject(child.get(), 120000), WAIT_OBJECT_0);
    std::ifstream report(std::filesystem::path(wide + L".txt"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(report), {}), folder);
    report.close();
    std::filesystem::remove_all(wide);
    std::filesystem::remove(wide + L".txt");
}

// The thread may own other top-level windows (an input method's) before the box.
BOOL CALLBACK FindBox(HWND window, LPARAM into) {
    char name[16] = {};
    ::GetClassNameA(window, name, sizeof(name));
    if (std::string(name) != "#32770") return TRUE;
    *reinterpret_cast<HWND*>(into) = window;
    return FALSE;
}

// Needs a display (the Windows test run has one). A box that is no UTF-8 is
// shown as Latin-1.
TEST(Win32Ui, MessageBoxShowsEveryCharacter) {
    const std::pair<std::string, std::wstring> texts[] = {
        {"Выйдите из системы: 日本語 \xF0\x9F\x98\x80", L"Выйдите из системы: 日本語 \U0001F600"},
        {"caf\xE9", L"caf\u00E9"}};
    for (const auto& [text, shown] : texts) {
        std::atomic<DWORD> thread{0};
        std::atomic<int> answer{-1};
        std::thread box([&] {
            thread = ::GetCurrentThreadId();
            answer = Win32Ui().ShowMessage(text, "Вантрикс", mb::kOk);
        });
        HWND found = nullptr;
        // Waits for the box's text too: it may be found while still being made.
        const ULONGLONG deadline = ::GetTickCount64() + 120000;
        while (answer == -1 && !(found && ::GetDlgItem(found, 0xFFFF)) &&
               ::GetTickCount64() < deadline) {
            ::Sleep(25);
            ::EnumThreadWindows(thread, FindBox, reinterpret_cast<LPARAM>(&found));
        }
        wchar_t caption[64] = {}, message[128] = {};
        ::GetWindowTextW(found, caption, 64);
        ::GetDlgItemTextW(found, 0xFFFF, message, 128);
        ::PostMessageW(found, WM_COMMAND, IDOK, 0);
        if (!found) ::PostThreadMessageW(thread, WM_QUIT, 0, 0);  // ends the box's loop
        box.join();
        EXPECT_EQ(answer, mb::kIdOk) << "no box (no display?)";
        EXPECT_EQ(std::wstring(caption), L"Вантрикс");
        EXPECT_EQ(std::wstring(message), shown);
    }
}

}  // namespace
}  // namespace vw::win32
