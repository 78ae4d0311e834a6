#include <windows.h>

#include "platform/win32/win32_platform.h"
#include "startup/main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    vw::win32::Win32Platform platform;
    vw::Main(platform.Get());
    return 0;
}
