// What only the real program shows: its hidden window. Its own folder (one
// no ANSI code page holds), one instance at a time and the boxes are rows of
// the wash table.
#include <windows.h>
// Needs the definitions of <windows.h> before it.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/handles.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_process.h"
#include "startup/ini_path.h"
#include "wash/frm_wash.h"

namespace vw::win32 {
namespace {

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
    EXPECT_EQ(FolderOf("C:\\vantrixwash.exe"), "C:\\");
    ::RemoveDirectoryA(custom.c_str());
    EXPECT_EQ(g_topLevelShows, 0);
    EXPECT_FALSE(::IsWindow(top)) << "unloading the form left its window";
}

}  // namespace
}  // namespace vw::win32
