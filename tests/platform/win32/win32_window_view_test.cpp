#include "platform/win32/win32_window_view.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <regex>

#include "platform/win32/handles.h"
#include "platform/win32/win32_drive_list.h"
#include "platform/win32/win32_ui.h"
#include "wash/layout.h"

namespace vw::win32 {
namespace {

std::string ClassName(HWND w) {
    char name[64] = {};
    ::GetClassNameA(w, name, sizeof name);
    return name;
}

std::string Text(HWND w) {
    char text[256] = {};
    ::GetWindowTextA(w, text, sizeof text);
    return text;
}

bool HasStyle(HWND w, LONG_PTR bits) {
    return (::GetWindowLongPtrA(w, GWL_STYLE) & bits) == bits;
}

// The wash window's layout realised by the real platform.
class Win32WindowViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UniqueScreenDc screen(::GetDC(nullptr));
        dpiX_ = ::GetDeviceCaps(screen.get(), LOGPIXELSX);
        dpiY_ = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
        view_ = ui_.CreateHiddenWindow(WashWindowLayout(), 4680, 3315);
    }
    HWND Handle(Ctl c) { return reinterpret_cast<HWND>(view_->ControlHandle(Index(c))); }
    HWND Top() { return ::GetParent(Handle(Ctl::lblCaption)); }
    int Px(int twips) const { return ::MulDiv(twips, dpiX_, 1440); }
    int Py(int twips) const { return ::MulDiv(twips, dpiY_, 1440); }

    int dpiX_ = 0, dpiY_ = 0;
    Win32Ui ui_;
    std::unique_ptr<WindowView> view_;
};

TEST_F(Win32WindowViewTest, RealisesEveryControlAsLaidOut) {
    const HWND top = Top();
    ASSERT_NE(top, nullptr);
    EXPECT_TRUE(HasStyle(top, WS_POPUP));
    EXPECT_FALSE(HasStyle(top, WS_BORDER) || HasStyle(top, WS_DLGFRAME));
    EXPECT_FALSE(::IsWindowVisible(top));

    const auto& layout = WashWindowLayout();
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const ControlLayout& c = layout[i];
        SCOPED_TRACE(c.name);
        const HWND w = reinterpret_cast<HWND>(view_->ControlHandle(i));
        ASSERT_TRUE(::IsWindow(w));
        EXPECT_EQ(::GetParent(w), top);
        EXPECT_EQ(HasStyle(w, WS_VISIBLE), c.visible);

        RECT r{};
        ::GetWindowRect(w, &r);
        ::MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, Px(c.left));  // lblCaption starts left of the edge
        EXPECT_EQ(r.top, Py(c.top));
        EXPECT_EQ(r.right - r.left, Px(c.width));
        // A drop-down list sizes its own selection field.
        if (c.kind != ControlKind::kDriveList) {
            EXPECT_EQ(r.bottom - r.top, Py(c.height));
        }

        switch (c.kind) {
            case ControlKind::kLabel:
                EXPECT_EQ(ClassName(w), "Static");
                EXPECT_EQ(Text(w), c.caption);
                break;
            case ControlKind::kImage:
                EXPECT_EQ(ClassName(w), "Static");
                EXPECT_EQ(Text(w), "");
                break;
            case ControlKind::kProgressBar:
                EXPECT_EQ(ClassName(w), PROGRESS_CLASSA);
                break;
            case ControlKind::kDriveList:
                EXPECT_EQ(ClassName(w), "ComboBox");
                EXPECT_TRUE(HasStyle(w, CBS_DROPDOWNLIST));
                break;
        }
    }
}

TEST_F(Win32WindowViewTest, ResizeSetsTheClientSize) {
    view_->Resize(kWashWindowWidth, kWashWindowHeight);
    RECT r{};
    ::GetClientRect(Top(), &r);
    EXPECT_EQ(r.right, Px(kWashWindowWidth));
    EXPECT_EQ(r.bottom, Py(kWashWindowHeight));
    EXPECT_FALSE(::IsWindowVisible(Top()));
}

// What the window answers when a label asks for its colours.
TEST_F(Win32WindowViewTest, LabelsDrawInTheirTextColour) {
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    for (Ctl c : {Ctl::lblExit, Ctl::lblCaption}) {
        ::SetTextColor(dc.get(), RGB(1, 2, 3));
        ::SendMessageA(Top(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                       reinterpret_cast<LPARAM>(Handle(c)));
        EXPECT_EQ(::GetTextColor(dc.get()), WashWindowLayout()[Index(c)].textColour);
    }
    EXPECT_EQ(::GetTextColor(dc.get()), RGB(0, 0, 0));
}

TEST_F(Win32WindowViewTest, VisibilityAndProgressReachTheControls) {
    const HWND label = Handle(Ctl::lblChkIE);
    view_->SetControlVisible(Index(Ctl::lblChkIE), true);
    EXPECT_TRUE(HasStyle(label, WS_VISIBLE));
    view_->SetControlVisible(Index(Ctl::lblChkIE), false);
    EXPECT_FALSE(HasStyle(label, WS_VISIBLE));

    const HWND bar = Handle(Ctl::ProgressBar1);
    PBRANGE range{-1, -1};
    ::SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
    view_->SetProgress(Index(Ctl::ProgressBar1), 42.0f);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 42);
    EXPECT_EQ(ui_.SendMessageA(reinterpret_cast<std::uintptr_t>(bar), PBM_GETPOS, 0, 0), 42);
    EXPECT_FALSE(::IsWindowVisible(Top()));
}

TEST_F(Win32WindowViewTest, DriveListShowsTheDrives) {
    const auto entries = view_->DriveEntries(Index(Ctl::Drive1));
    const std::regex shape("[a-z]:( \\[.+\\])?");
    bool hasC = false;
    for (const std::string& e : entries) {
        EXPECT_TRUE(std::regex_match(e, shape)) << e;
        hasC = hasC || e.rfind("c:", 0) == 0;
    }
    EXPECT_TRUE(hasC);
}

// Wine gives its drives no labels, so the labelled form is checked alone.
TEST(Win32DriveList, EntryIsLowerCaseLetterColonAndLabel) {
    EXPECT_EQ(DriveListEntry("C:\\", ""), "c:");
    EXPECT_EQ(DriveListEntry("D:\\", "Backup Disk"), "d: [Backup Disk]");
}

}  // namespace
}  // namespace vw::win32
