#include "platform/win32/win32_process.h"

#include <windows.h>

#include "platform/run_error.h"

namespace vw::win32 {

namespace {

// The numbers the classic Shell statement raises for a failed start.
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
        *mutex_.put() = ::CreateMutexA(nullptr, FALSE, mutexName_.c_str());
        another_ = ::GetLastError() == ERROR_ALREADY_EXISTS;
    }
    return another_;
}

std::string Win32Process::ProgramFolder() {
    // GetModuleFileNameA fills the buffer to the brim when the path does not
    // fit; grow until it leaves room for the terminator.
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return FolderOf(path);
}

std::uint32_t Win32Process::StartProgram(const std::string& path, int showCommand) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    // The file is named on its own and quoted as the command line, so a
    // folder with blanks never makes the system try a shorter path first.
    std::string commandLine = "\"" + path + "\"";
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &started)) {
        RaiseStartError(::GetLastError());
    }
    // Nothing of the program is kept: both handles go at once.
    const UniqueKernelHandle process(started.hProcess);
    const UniqueKernelHandle thread(started.hThread);
    return started.dwProcessId;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    if (slash == std::string::npos) return {};
    // "C:\prog.exe": the folder is the root, written with its "\".
    if (slash == 2 && path[1] == ':') return path.substr(0, 3);
    return path.substr(0, slash);
}

}  // namespace vw::win32
