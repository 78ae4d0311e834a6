#include <windows.h>
// Needs the definitions of <windows.h> before it.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_window_view.h"
#include "startup/ini_path.h"
#include "wash/frm_wash.h"

namespace vw::win32 {
namespace {

// Forwards to the real Ui and keeps sight of the view it hands out, so the
// test can reach the controls' windows.
class ViewSpyUi final : public Ui {
  public:
    explicit ViewSpyUi(Ui& real) : real_(real) {}
    std::unique_ptr<WindowView> CreateHiddenWindow(const std::vector<ControlLayout>& layout, int w,
                                                   int h) override {
        auto view = real_.CreateHiddenWindow(layout, w, h);
        view_ = static_cast<Win32WindowView*>(view.get());
        return view;
    }
    void DoEvents() override { real_.DoEvents(); }
    int ShowMessage(const std::string& text, const std::string& caption,
                    std::uint32_t type) override {
        return real_.ShowMessage(text, caption, type);
    }

    Win32WindowView* view_ = nullptr;

  private:
    Ui& real_;
};

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
    ViewSpyUi spy(r.ui);
    Platform platform{r.profile, r.shell,    r.process,  r.files,
                      spy,       r.registry, r.urlCache, r.urlHistory};
    // Without settings the custom step runs; the installed, empty folder.
    const std::string custom = r.process.ProgramFolder() + "\\Custom";
    ::CreateDirectoryA(custom.c_str(), nullptr);
    const UniqueHandle<HHOOK, HookCloser> hook(
        ::SetWindowsHookExA(WH_CALLWNDPROC, WatchShows, nullptr, ::GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    HWND top = nullptr;
    {
        frmWash form(platform);
        ASSERT_NE(spy.view_, nullptr);
        form.StartClean();
        for (std::size_t i = Index(Ctl::lblChkFindHistory); i <= Index(Ctl::lblChkNetscape); ++i) {
            EXPECT_TRUE(::GetWindowLongPtrA(spy.view_->Control(i), GWL_STYLE) & WS_VISIBLE)
                << WashWindowLayout()[i].name;
        }
        const HWND bar = spy.view_->Control(Index(Ctl::ProgressBar1));
        EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 99);
        EXPECT_EQ(::SendMessageA(bar, PBM_GETBARCOLOR, 0, 0), 0xFFFFFF);
        top = ::GetParent(bar);
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
