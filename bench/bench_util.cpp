#include <windows.h>
// Needs the definitions of <windows.h> before it.
#include <psapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "bench.h"
#include "platform/win32/start_process.h"

namespace vw::bench {

frmWash& Context::Form() {
    if (!form_) form_ = std::make_unique<frmWash>(platform_.Get());
    return *form_;
}

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER f{};
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

double Median(std::vector<double> samples) {
    if (samples.empty()) return 0.0;
    std::sort(samples.begin(), samples.end());
    const std::size_t mid = samples.size() / 2;
    return samples.size() % 2 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2.0;
}

std::string Format(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

std::string ProgramPath() {
    char path[MAX_PATH + 1] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n);
}

std::string ProgramFolder() {
    const std::string path = ProgramPath();
    return path.substr(0, path.find_last_of('\\'));
}

bool RunAndWait(const std::string& exe, const std::string& arguments, const std::string& cwd,
                DWORD timeoutMs, DWORD& exitCode) {
    const win32::StartedProcess started = win32::StartProcess(
        exe, arguments, {-1, CREATE_NO_WINDOW, nullptr, cwd.empty() ? nullptr : cwd.c_str()});
    const HANDLE process = started.process.get();
    if (!process) return false;
    if (::WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process, 1);
        return false;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process, &code);
    exitCode = code;
    return true;
}

std::uint64_t PeakWorkingSetKib() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return counters.PeakWorkingSetSize / 1024;
}

bool MakeFolders(const std::string& path) {
    for (std::size_t at = path.find('\\', 3);; at = path.find('\\', at + 1)) {
        const std::string folder = path.substr(0, at);
        if (!::CreateDirectoryA(folder.c_str(), nullptr) &&
            ::GetLastError() != ERROR_ALREADY_EXISTS) {
            return false;
        }
        if (at == std::string::npos) return true;
    }
}

void EmptyFolder(const std::string& dir) {
    WIN32_FIND_DATAA found;
    win32::UniqueFindHandle find(::FindFirstFileA((dir + "*").c_str(), &found));
    if (!find) return;
    do {
        const char* name = found.cFileName;
        if (!std::strcmp(name, ".") || !std::strcmp(name, "..")) continue;
        const std::string path = dir + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            EmptyFolder(path + "\\");
            ::RemoveDirectoryA(path.c_str());
        } else {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            }
            ::DeleteFileA(path.c_str());
        }
    } while (::FindNextFileA(find.get(), &found));
}

}  // namespace vw::bench
