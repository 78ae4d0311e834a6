#include "scenario.h"

#include "files.h"

namespace vw::e2e {

namespace {
constexpr char kRoot[] = "C:\\e2e";
constexpr char kExe[] = "vantrixwash.exe";
}  // namespace

Scenario::Scenario(const std::string& name)
    : folder_(std::string(kRoot) + "\\" + name), exe_(folder_ + "\\" + kExe) {
    CreateDirectoryA(kRoot, nullptr);
    // A crashed earlier run may have left the folder behind.
    RemoveFlatFolder(folder_);
    const std::string source = OwnFolder() + kExe;
    if (!CreateDirectoryA(folder_.c_str(), nullptr)) {
        problem_ = "cannot create " + folder_;
    } else if (!CopyFileA(source.c_str(), exe_.c_str(), FALSE)) {
        problem_ = "cannot copy " + source + " (error " + std::to_string(GetLastError()) + ")";
    }
}

Scenario::~Scenario() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
    process_.reset();
    RemoveFlatFolder(folder_);
    // Succeeds only once the last scenario is gone.
    RemoveDirectoryA(kRoot);
}

bool Scenario::WriteIni(const std::string& text, bool hidden) {
    const std::string path = IniPath();
    RemoveFile(path);
    if (!WriteText(path, text)) return false;
    return !hidden || SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
}

bool Scenario::Start() {
    std::string commandLine = "\"" + exe_ + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    // The working folder stays the test's own (C:\bin), so the exe has to find
    // Local.Ini beside itself rather than in the current folder.
    if (!CreateProcessA(exe_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        problem_ = "cannot start " + exe_ + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    win32::UniqueKernelHandle thread(info.hThread);
    process_.reset(info.hProcess);
    pid_ = info.dwProcessId;
    startedAt_ = GetTickCount64();
    exitedAt_.reset();
    return true;
}

std::optional<DWORD> Scenario::Wait(DWORD timeoutMs) {
    if (!process_ || WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    if (!exitedAt_) exitedAt_ = GetTickCount64();
    DWORD code = 0;
    if (!GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
    return code;
}

std::optional<DWORD> Scenario::Run(DWORD timeoutMs) {
    if (!Start()) return std::nullopt;
    return Wait(timeoutMs);
}

ULONGLONG Scenario::ElapsedMs() const {
    return exitedAt_.value_or(GetTickCount64()) - startedAt_;
}

}  // namespace vw::e2e
