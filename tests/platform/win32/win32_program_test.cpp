// What only the real program shows: its own folder and its hidden window.
// One instance at a time and the boxes are rows of the wash table.
#include <windows.h>
// Needs the definitions of <windows.h> before it.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_process.h"
#include "startup/ini_path.h"
#include "wash/frm_wash.h"

namespace vw::win32 {
namespace {

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
    EXPECT_EQ(FolderOf("C:\\vantrixwash.exe"), "C:\\");
    std::filesystem::remove_all(wide);
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
