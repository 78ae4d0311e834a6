// What only the real program shows: one instance at a time, its own folder,
// its boxes and its hidden window.
#include <windows.h>
// Needs the definitions of <windows.h> before it.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_ui.h"
#include "startup/ini_path.h"
#include "wash/frm_wash.h"

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
    if (const wchar_t* report = ::_wgetenv(L"VW_PROGRAM_FOLDER_REPORT"))
        std::ofstream(std::filesystem::path(report), std::ios::binary)
            << Win32Process().ProgramFolder();
}

// A folder name no ANSI code page holds: the start and the program's own
// look at its path both keep every character.
TEST(Win32Process, ProgramInANonLatinFolderStartsAndFindsItsFolder) {
    Win32FileSystem fs;
    const std::string folder = fs.TempPath() + "Программа 日本 \xF0\x9F\x98\x80";
    std::wstring wide, self(MAX_PATH * 4, L'\0');
    ASSERT_TRUE(ToWide(folder, wide) && ::CreateDirectoryW(wide.c_str(), nullptr));
    self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    ASSERT_TRUE(::CopyFileW(self.c_str(), (wide + L"\\child.exe").c_str(), TRUE));
    ::SetEnvironmentVariableW(L"GTEST_FILTER", L"Win32ProcessChild.*");
    ::SetEnvironmentVariableW(L"VW_PROGRAM_FOLDER_REPORT", (wide + L"\\report").c_str());
    const DWORD id = Win32Process().StartProgram(folder + "\\child.exe", SW_HIDE);
    ::SetEnvironmentVariableW(L"GTEST_FILTER", nullptr);
    ::SetEnvironmentVariableW(L"VW_PROGRAM_FOLDER_REPORT", nullptr);
    const UniqueKernelHandle child(::OpenProcess(SYNCHRONIZE, FALSE, id));
    ASSERT_TRUE(child);
    EXPECT_EQ(::WaitForSingleObject(child.get(), 120000), WAIT_OBJECT_0);
    EXPECT_EQ(fs.ReadAll(folder + "\\report"), folder);
    std::filesystem::remove_all(wide);
}

// The thread may own other top-level windows (an input method's) before the box.
BOOL CALLBACK FindBox(HWND window, LPARAM into) {
    char name[16] = {};
    ::GetClassNameA(window, name, sizeof(name));
    if (std::string(name) == "#32770") *reinterpret_cast<HWND*>(into) = window;
    return std::string(name) != "#32770";
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
        for (const ULONGLONG end = ::GetTickCount64() + 120000;
             answer == -1 && !(found && ::GetDlgItem(found, 0xFFFF)) && ::GetTickCount64() < end;)
            ::Sleep(25), ::EnumThreadWindows(thread, FindBox, reinterpret_cast<LPARAM>(&found));
        wchar_t caption[64] = {}, message[128] = {};
        ::GetWindowTextW(found, caption, 64);
        ::GetDlgItemTextW(found, 0xFFFF, message, 128);
        ::PostMessageW(found, WM_COMMAND, IDOK, 0);
        if (!found) ::PostThreadMessageW(thread, WM_QUIT, 0, 0);  // ends the box's loop
        box.join();
        EXPECT_EQ(answer, mb::kIdOk) << "no box (no display?)";
        EXPECT_EQ(std::wstring(caption) + L"|" + message, L"Вантрикс|" + shown);
    }
}

// Counts every attempt to show a top-level window of this thread, even one
// undone at once.
int g_topLevelShows = 0;
LRESULT CALLBACK WatchShows(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && ::GetParent(m->hwnd) == nullptr) {
        g_topLevelShows +=
            (m->message == WM_SHOWWINDOW && m->wParam) ||
            (m->message == WM_WINDOWPOSCHANGING &&
             (reinterpret_cast<const WINDOWPOS*>(m->lParam)->flags & SWP_SHOWWINDOW));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

struct HookCloser {
    void operator()(HHOOK h) const noexcept { ::UnhookWindowsHookEx(h); }
};

TEST(Win32WashWindow, RunWithoutSettingsMarksEveryItemAndShowsNothing) {
    ASSERT_TRUE(IniPath.empty());
    Win32Platform real;
    Platform& r = real.Get();
    // Without settings the custom step runs; the installed, empty folder.
    const std::string custom = r.process.ProgramFolder() + "\\Custom";
    ::CreateDirectoryA(custom.c_str(), nullptr);
    const UniqueHandle<HHOOK, HookCloser> hook(
        ::SetWindowsHookExA(WH_CALLWNDPROC, WatchShows, nullptr, ::GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    HWND top = nullptr;
    {
        frmWash form(r);
        ASSERT_TRUE(top = ::FindWindowExW(nullptr, nullptr, L"VantrixWashWindow", nullptr));
        // The controls in the order of the layout, each child made below the last.
        const auto control = [&](std::size_t i) {
            HWND c = ::GetWindow(top, GW_CHILD);
            while (i-- > 0) c = ::GetWindow(c, GW_HWNDNEXT);
            return c;
        };
        form.StartClean();
        for (std::size_t i = Index(Ctl::lblChkFindHistory); i <= Index(Ctl::lblChkNetscape); ++i) {
            EXPECT_TRUE(::GetWindowLongPtrA(control(i), GWL_STYLE) & WS_VISIBLE)
                << WashWindowLayout()[i].name;
        }
        const HWND bar = control(Index(Ctl::ProgressBar1));
        EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 99);
        EXPECT_EQ(::SendMessageA(bar, PBM_GETBARCOLOR, 0, 0), 0xFFFFFF);
        const auto drives = form.DriveList();
        EXPECT_TRUE(std::any_of(drives.begin(), drives.end(),
                                [](const std::string& d) { return d.rfind("c:", 0) == 0; }));
    }
    ::RemoveDirectoryA(custom.c_str());
    EXPECT_EQ(g_topLevelShows, 0);
    EXPECT_FALSE(::IsWindow(top)) << "unloading the form left its window";
}

}  // namespace
}  // namespace vw::win32
