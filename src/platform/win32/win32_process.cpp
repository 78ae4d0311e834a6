#include "platform/win32/win32_process.h"

#include <windows.h>

namespace vw::win32 {

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

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    if (slash == std::string::npos) return {};
    // "C:\prog.exe": the folder is the root, written with its "\".
    if (slash == 2 && path[1] == ':') return path.substr(0, 3);
    return path.substr(0, slash);
}

}  // namespace vw::win32
