#include "platform/win32/win32_window_view.h"

#include <commctrl.h>

#include <cmath>
#include <string>
#include <utility>

#include "platform/run_error.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_drive_list.h"

namespace vw::win32 {

namespace {

constexpr const wchar_t* kWindowClass = L"VantrixWashWindow";
constexpr int kTwipsPerInch = 1440;

// Labels keep their text colour in their user data, where the parent's
// WM_CTLCOLORSTATIC finds it.
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC) {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        const HWND label = reinterpret_cast<HWND>(lParam);
        ::SetTextColor(dc, static_cast<COLORREF>(::GetWindowLongPtrW(label, GWLP_USERDATA)));
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// Registered once per process; a later window reuses the class.
bool RegisterWindowClass(HINSTANCE instance) {
    static const bool registered = [instance] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kWindowClass;
        return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

bool InitProgressClass() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
        return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    return done;
}

[[noreturn]] void RaiseCannotCreate(const char* what) {
    // The classic run time reports a window it cannot get as out of memory.
    throw RunError(errnum::kOutOfMemory, std::string("cannot create ") + what + " (error " +
                                             std::to_string(::GetLastError()) + ")");
}

const wchar_t* ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::kProgressBar:
            return PROGRESS_CLASSW;
        case ControlKind::kDriveList:
            return L"COMBOBOX";
        case ControlKind::kLabel:
        case ControlKind::kImage:
            break;
    }
    return L"STATIC";
}

DWORD StyleOf(const ControlLayout& c) {
    DWORD style = WS_CHILD | (c.visible ? WS_VISIBLE : 0);
    switch (c.kind) {
        case ControlKind::kLabel:
            return style | SS_LEFTNOWORDWRAP;
        case ControlKind::kImage:
            return style | SS_LEFT;  // no picture: an empty area
        case ControlKind::kProgressBar:
            return style;
        case ControlKind::kDriveList:
            return style | CBS_DROPDOWNLIST | WS_VSCROLL;
    }
    return style;
}

}  // namespace

Win32WindowView::Win32WindowView(const std::vector<ControlLayout>& layout, int widthTwips,
                                 int heightTwips) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    {
        UniqueScreenDc screen(::GetDC(nullptr));
        if (screen) {
            dpiX_ = ::GetDeviceCaps(screen.get(), LOGPIXELSX);
            dpiY_ = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
        }
    }
    const auto px = [this](int twips) { return ::MulDiv(twips, dpiX_, kTwipsPerInch); };
    const auto py = [this](int twips) { return ::MulDiv(twips, dpiY_, kTwipsPerInch); };

    if (!RegisterWindowClass(instance)) RaiseCannotCreate("the window class");
    // WS_POPUP without WS_BORDER or a caption: the client area is the window.
    window_.reset(::CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0,
                                    px(widthTwips), py(heightTwips), nullptr, nullptr, instance,
                                    nullptr));
    if (!window_) RaiseCannotCreate("the window");

    controls_.reserve(layout.size());
    for (const ControlLayout& c : layout) {
        if (c.kind == ControlKind::kProgressBar && !InitProgressClass()) {
            RaiseCannotCreate("the progress bar class");
        }
        std::wstring caption;
        ToWide(ShownBoxText(c.caption ? c.caption : ""), caption);
        const HWND child = ::CreateWindowExW(0, ClassOf(c.kind), caption.c_str(), StyleOf(c),
                                             px(c.left), py(c.top), px(c.width), py(c.height),
                                             window_.get(), nullptr, instance, nullptr);
        if (child == nullptr) RaiseCannotCreate(c.name);
        ::SetWindowLongPtrW(child, GWLP_USERDATA, static_cast<LONG_PTR>(c.textColour));
        if (c.kind == ControlKind::kProgressBar) {
            ::SendMessageW(child, PBM_SETRANGE32, 0, 100);
        } else if (c.kind == ControlKind::kDriveList) {
            for (const std::string& drive : DriveListEntries()) {
                std::wstring entry;
                if (!ToWide(drive, entry)) continue;
                ::SendMessageW(child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
            }
        }
        controls_.push_back(child);
    }
}

void Win32WindowView::Resize(int widthTwips, int heightTwips) {
    ::SetWindowPos(window_.get(), nullptr, 0, 0, ::MulDiv(widthTwips, dpiX_, kTwipsPerInch),
                   ::MulDiv(heightTwips, dpiY_, kTwipsPerInch),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32WindowView::SetControlVisible(std::size_t control, bool visible) {
    // SW_SHOWNA: a child of a hidden window gains WS_VISIBLE, nothing is
    // activated and nothing appears on the screen.
    ::ShowWindow(Control(control), visible ? SW_SHOWNA : SW_HIDE);
}

void Win32WindowView::SetProgress(std::size_t control, float value) {
    ::SendMessageW(Control(control), PBM_SETPOS, static_cast<WPARAM>(std::lround(value)), 0);
}

void Win32WindowView::SetBarColour(std::size_t control, std::uint32_t colour) {
    ::SendMessageW(Control(control), PBM_SETBARCOLOR, 0, static_cast<LPARAM>(colour));
}

std::vector<std::string> Win32WindowView::DriveEntries(std::size_t control) {
    // Read back from the control itself: what it shows is what counts.
    const HWND list = Control(control);
    std::vector<std::string> entries;
    const LRESULT count = ::SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(list, CB_GETLBTEXTLEN, i, 0);
        if (length < 0) continue;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT got =
            ::SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        entries.push_back(FromWideBuffer(text.data(), got < 0 ? 0 : static_cast<std::size_t>(got)));
    }
    return entries;
}

HWND Win32WindowView::Control(std::size_t control) const {
    return controls_.at(control);
}

}  // namespace vw::win32
