// Stands in for the companion program: started minimized by its full path
// alone, it deletes started.flag beside itself, which a row then finds gone.
#include "companion_probe.h"

#include <windows.h>

#include <string>

#include "platform/win32/handles.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    STARTUPINFOW startup{};
    ::GetStartupInfoW(&startup);
    wchar_t self[MAX_PATH] = {};
    const std::wstring path(self, ::GetModuleFileNameW(nullptr, self, MAX_PATH));
    if ((startup.dwFlags & STARTF_USESHOWWINDOW) && startup.wShowWindow == SW_SHOWMINIMIZED &&
        ::GetCommandLineW() == L"\"" + path + L"\"")
        ::DeleteFileW((path.substr(0, path.rfind(L'\\')) + L"\\started.flag").c_str());
    const vw::win32::UniqueKernelHandle release(
        ::OpenEventA(SYNCHRONIZE, FALSE, vw::e2e::kProbeRelease));
    if (release) ::WaitForSingleObject(release.get(), 300000);
    return 0;
}
