// The start-up case's limit: what any start-up of this program must do,
// written straight against Win32. Claims the instance mutex, finds Local.Ini
// beside itself, creates the hidden wash window with its controls (labels,
// progress bar, the drive list filled with the machine's drives and their
// labels), reads the settings an all-off run reads, destroys the window and
// ends.
#include <windows.h>
// Needs the definitions of <windows.h> before it.
#include <commctrl.h>

#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>

#include "platform/win32/handles.h"
#include "wash/layout.h"

namespace {

std::wstring Widen(const char* ascii) {
    return std::wstring(ascii, ascii + std::strlen(ascii));
}

void FillDriveList(HWND list) {
    wchar_t roots[512] = {};
    if (::GetLogicalDriveStringsW(511, roots) == 0) return;
    const UINT mode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    for (const wchar_t* root = roots; *root != L'\0'; root += std::wcslen(root) + 1) {
        wchar_t label[MAX_PATH + 1] = {};
        std::wstring entry{static_cast<wchar_t>(std::towlower(root[0])), L':'};
        if (::GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr,
                                    0) &&
            label[0] != L'\0') {
            entry += std::wstring(L" [") + label + L"]";
        }
        ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    ::SetErrorMode(mode);
}

const wchar_t* ClassOf(vw::ControlKind kind) {
    switch (kind) {
        case vw::ControlKind::kProgressBar:
            return PROGRESS_CLASSW;
        case vw::ControlKind::kDriveList:
            return L"COMBOBOX";
        default:
            return L"STATIC";
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const vw::win32::UniqueKernelHandle mutex(
        ::CreateMutexW(nullptr, FALSE, L"VantrixWash.SingleInstance"));
    if (::GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    wchar_t exe[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring folder(exe, std::wstring(exe, n).find_last_of(L'\\'));
    const std::wstring ini = folder + L"\\Local.Ini";
    WIN32_FIND_DATAW found;
    const vw::win32::UniqueFindHandle find(::FindFirstFileW(ini.c_str(), &found));

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"VantrixWashReference";
    ::RegisterClassExW(&wc);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    HDC screen = ::GetDC(nullptr);
    const int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX),
              dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    const auto px = [&](int twips) { return ::MulDiv(twips, dpiX, 1440); };
    const auto py = [&](int twips) { return ::MulDiv(twips, dpiY, 1440); };
    const vw::win32::UniqueWindow window(::CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"",
                                                           WS_POPUP, 0, 0, px(4680), py(3315),
                                                           nullptr, nullptr, instance, nullptr));
    for (const vw::ControlLayout& c : vw::WashWindowLayout()) {
        const HWND child =
            ::CreateWindowExW(0, ClassOf(c.kind), Widen(c.caption).c_str(),
                              WS_CHILD | (c.visible ? WS_VISIBLE : 0), px(c.left), py(c.top),
                              px(c.width), py(c.height), window.get(), nullptr, instance, nullptr);
        if (c.kind == vw::ControlKind::kProgressBar) ::SendMessageW(child, PBM_SETRANGE32, 0, 100);
        if (c.kind == vw::ControlKind::kDriveList) FillDriveList(child);
    }
    ::SetWindowPos(window.get(), nullptr, 0, 0, px(4590), py(2760),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    // The switches of an all-off run, each read once at its step, then
    // RunHistory again for the closing message.
    const wchar_t* const reads[][2] = {{L"Standard Options", L"FindHistory"},
                                       {L"Standard Options", L"DocumentHistory"},
                                       {L"Standard Options", L"RunHistory"},
                                       {L"Standard Options", L"RecycleBin"},
                                       {L"Standard Options", L"MediaPlayer"},
                                       {L"Standard Options", L"TempFiles"},
                                       {L"Standard Options", L"ScanTempFiles"},
                                       {L"Standard Options", L"MSOfficeTrack"},
                                       {L"Standard Options", L"IE"},
                                       {L"Wash Options", L"SkipAllCustomWashItems"},
                                       {L"Standard Options", L"Netscape"},
                                       {L"Standard Options", L"RunHistory"}};
    wchar_t value[255];
    for (const auto& read : reads) {
        if (!find) break;  // no settings: every switch reads as off
        ::GetPrivateProfileStringW(read[0], read[1], L"", value, 255, ini.c_str());
    }
    return 0;
}
