// vantrixie.exe: opens the Internet Options panel, where the user can clear
// what the washer leaves to the browser itself, and ends without waiting.
#include <windows.h>

#include <string>

#include "platform/win32/handles.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // control.exe by its full path: a copy in the program's folder or the
    // current one is never the one started.
    char system[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    const std::string control = std::string(system, length) + "\\control.exe";
    std::string commandLine = "\"" + control + "\" inetcpl.cpl";

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(control.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &started)) {
        return 1;
    }
    const vw::win32::UniqueKernelHandle process(started.hProcess);
    const vw::win32::UniqueKernelHandle thread(started.hThread);
    return 0;
}
