#include "platform/win32/win32_process.h"

#include <windows.h>

#include "platform/run_error.h"
#include "platform/win32/start_process.h"
#include "platform/win32/wide.h"

namespace vw::win32 {

namespace {

// A failed start as the run-time failures of the model number it.
[[noreturn]] void RaiseStartError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            throw RunError(errnum::kFileNotFound, "File not found");
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            throw RunError(errnum::kPathFileAccessError, "Path/File access error");
        default:
            throw RunError(errnum::kInvalidArgument, "Invalid procedure call or argument");
    }
}

}  // namespace

bool Win32Process::AnotherInstanceRunning() {
    // The answer is fixed by the first call: the mutex then belongs to us.
    if (!claimed_) {
        claimed_ = true;
        std::wstring name;
        if (!ToWide(mutexName_, name)) return another_;
        *mutex_.put() = ::CreateMutexW(nullptr, FALSE, name.c_str());
        another_ = ::GetLastError() == ERROR_ALREADY_EXISTS;
    }
    return another_;
}

std::string Win32Process::ProgramFolder() {
    // The call fills the buffer to the brim when the path does not fit; grow
    // until it leaves room for the terminator. Long paths ("\\?\") may run
    // to 32767 units.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        if (path.size() > 0x10000) return {};
        path.resize(path.size() * 2);
    }
    return FolderOf(FromWide(path));
}

std::uint32_t Win32Process::StartProgram(const std::string& path, int showCommand) {
    // No file can carry a name that is no UTF-8.
    std::wstring program;
    if (!ToWide(path, program)) RaiseStartError(ERROR_INVALID_NAME);
    // Nothing of the program is kept: its handle goes with `started`.
    const StartedProcess started = StartProcess(program, {}, {showCommand});
    if (!started.process) RaiseStartError(::GetLastError());
    return started.id;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    if (slash == std::string::npos) return {};
    // "C:\prog.exe": the folder is the root, written with its "\".
    if (slash == 2 && path[1] == ':') return path.substr(0, 3);
    return path.substr(0, slash);
}

}  // namespace vw::win32
