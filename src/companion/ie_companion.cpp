// vantrixie.exe: opens the Internet Options panel, where the user can clear
// what the washer leaves to the browser itself, and ends without waiting.
#include <windows.h>

#include <string>

#include "platform/win32/start_process.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // control.exe by its full path: a copy in the program's folder or the
    // current one is never the one started.
    char system[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    const std::string control = std::string(system, length) + "\\control.exe";
    return vw::win32::StartProcess(control, std::string("inetcpl.cpl")).process ? 0 : 1;
}
