#pragma once

#include <windows.h>

#include <string>
#include <type_traits>

#include "platform/win32/handles.h"

namespace vw::win32 {

// A program just started: its process handle, to wait on or to let go, and
// its id. The handle is empty when the start failed; GetLastError() then
// tells why.
struct StartedProcess {
    UniqueKernelHandle process;
    DWORD id = 0;
};

// How a program is started beyond its path and arguments; the defaults are
// those of the starting program.
template <typename Char>
struct StartOptions {
    int showCommand = -1;  // an SW_ value for its first window, -1: its own
    DWORD creationFlags = 0;
    void* environment = nullptr;
    const Char* folder = nullptr;
};

// Starts `program` (char: ANSI, wchar_t: wide). It is named on its own and
// quoted as the first word of its command line, so a folder with blanks
// never makes the system try a shorter path first. The thread handle is
// never wanted and goes at once.
template <typename Char>
StartedProcess StartProcess(const std::basic_string<Char>& program,
                            const std::basic_string<Char>& arguments = {},
                            const StartOptions<Char>& options = {}) {
    constexpr bool kWide = std::is_same_v<Char, wchar_t>;
    std::conditional_t<kWide, STARTUPINFOW, STARTUPINFOA> startup{};
    startup.cb = sizeof startup;
    if (options.showCommand >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(options.showCommand);
    }
    std::basic_string<Char> commandLine = Char('"') + program + Char('"');
    if (!arguments.empty()) commandLine += Char(' ') + arguments;
    PROCESS_INFORMATION info{};
    BOOL ok = FALSE;
    if constexpr (kWide) {
        ok = ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                              options.creationFlags, options.environment, options.folder, &startup,
                              &info);
    } else {
        ok = ::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                              options.creationFlags, options.environment, options.folder, &startup,
                              &info);
    }
    StartedProcess started;
    if (!ok) return started;
    const UniqueKernelHandle thread(info.hThread);
    started.process.reset(info.hProcess);
    started.id = info.dwProcessId;
    return started;
}

}  // namespace vw::win32
