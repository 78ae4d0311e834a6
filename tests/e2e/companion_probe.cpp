// Stands in for the companion program in the end-to-end runs.
#include "companion_probe.h"

#include <windows.h>

#include <fstream>
#include <string>

#include "platform/win32/handles.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    ::GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;

    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string record = self;
    record = record.substr(0, record.find_last_of('\\') + 1) + vw::e2e::kProbeRecord;
    std::ofstream(record, std::ios::binary) << show << '\n'
                                            << ::GetCommandLineA() << '\n'
                                            << std::flush;

    const vw::win32::UniqueKernelHandle release(
        ::OpenEventA(SYNCHRONIZE, FALSE, vw::e2e::kProbeRelease));
    if (release) ::WaitForSingleObject(release.get(), 30000);
    std::ofstream(record, std::ios::binary | std::ios::app) << "ended\n";
    return 0;
}
