#include "platform/win32/win32_ui.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

namespace vw::win32 {
namespace {

struct BoxSeen {
    bool found = false;
    bool ownerless = false;
    std::string text;
};

// Finds the box by its caption, notes what it shows and presses OK.
BoxSeen CloseBox(const std::string& caption) {
    BoxSeen seen;
    for (int i = 0; i < 200 && !seen.found; ++i) {
        const HWND box = ::FindWindowA("#32770", caption.c_str());
        if (box == nullptr) {
            ::Sleep(50);
            continue;
        }
        seen.found = true;
        seen.ownerless = ::GetWindow(box, GW_OWNER) == nullptr;
        ::EnumChildWindows(
            box,
            [](HWND child, LPARAM out) -> BOOL {
                char cls[32] = {}, text[256] = {};
                ::GetClassNameA(child, cls, sizeof cls);
                ::GetWindowTextA(child, text, sizeof text);
                if (lstrcmpiA(cls, "Static") == 0 && text[0] != '\0') {
                    *reinterpret_cast<std::string*>(out) = text;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&seen.text));
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    return seen;
}

TEST(Win32MessageBox, ShowsTextUnderCaptionWithoutOwner) {
    const std::string caption = "Vantrix test " + std::to_string(::GetCurrentProcessId());
    BoxSeen seen;
    std::thread closer([&] { seen = CloseBox(caption); });
    const int answer = Win32Ui().MessageBoxA("Please logoff.", caption, MB_OK | MB_ICONINFORMATION);
    closer.join();

    ASSERT_TRUE(seen.found) << "no box with that caption";
    EXPECT_EQ(answer, IDOK);
    EXPECT_TRUE(seen.ownerless);
    EXPECT_EQ(seen.text, "Please logoff.");
}

}  // namespace
}  // namespace vw::win32
