#include <windows.h>

#include "platform/win32/win32_platform.h"
#include "startup/main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        vw::win32::Win32Platform platform;
        vw::Main(platform.Get());
    } catch (...) {
        // A platform that cannot be set up ends the program as quietly.
    }
    return 0;
}
