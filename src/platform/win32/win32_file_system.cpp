#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "platform/run_error.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_path.h"
#include "text/path_root.h"

namespace vw::win32 {

namespace {

using Result = EntryOpener::Result;
constexpr DWORD kShareAll = EntryOpener::kShareAll;
// The attribute bits an attribute change may set.
constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                            FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

[[noreturn]] void RaiseDeviceUnavailable() {
    throw RunError(errnum::kDeviceUnavailable, "Device unavailable");
}

// Whether the drive a path is on exists but cannot be read. Wine reports an
// empty drive as a missing path, Windows as not ready.
bool DriveNotReady(std::wstring path) {
    if (path.rfind(L"\\\\?\\", 0) == 0) path.erase(0, 4);
    if (path.size() < 2 || path[1] != L':') return false;
    const std::wstring root = path.substr(0, 2) + L"\\";
    const UINT type = ::GetDriveTypeW(root.c_str());
    return type != DRIVE_NO_ROOT_DIR && type != DRIVE_UNKNOWN &&
           ::GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES;
}

class FindListing final : public RawListing {
  public:
    explicit FindListing(const std::wstring& pattern) {
        CriticalErrorsFail quiet;
        find_.reset(::FindFirstFileW(pattern.c_str(), &data_));
        if (find_) {
            pending_ = true;
            return;
        }
        const DWORD error = ::GetLastError();
        if (error == ERROR_NOT_READY || (error == ERROR_PATH_NOT_FOUND && DriveNotReady(pattern))) {
            RaiseDeviceUnavailable();
        }
        // Anything else (no such file or folder, nothing matching) lists nothing.
    }

    bool Next(DirEntry& entry) override {
        if (!pending_) {
            if (!find_ || !::FindNextFileW(find_.get(), &data_)) {
                find_.reset();  // released as soon as the enumeration ends
                return false;
            }
        }
        pending_ = false;
        entry.name = FromWideBuffer(data_.cFileName, MAX_PATH);
        entry.attributes = data_.dwFileAttributes;
        return true;
    }

  private:
    UniqueFindHandle find_;
    WIN32_FIND_DATAW data_{};
    bool pending_ = false;  // data_ holds an entry not handed out yet
};

class EmptyListing final : public RawListing {
  public:
    bool Next(DirEntry&) override { return false; }
};

class Win32BinaryFile final : public BinaryFile {
  public:
    explicit Win32BinaryFile(UniqueFileHandle file) : file_(std::move(file)) {}

    std::uint64_t Length() override {
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file_.get(), &size)) RaiseFileError(::GetLastError());
        return static_cast<std::uint64_t>(size.QuadPart);
    }

    void WriteAt(std::uint64_t offset, std::string_view bytes) override {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        if (!::SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN)) {
            RaiseFileError(::GetLastError());
        }
        while (!bytes.empty()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
            DWORD written = 0;
            if (!::WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr)) {
                RaiseFileError(::GetLastError());
            }
            if (written == 0) RaiseFileError(ERROR_DISK_FULL);
            bytes.remove_prefix(written);
        }
    }

    void Flush() override {
        if (!::FlushFileBuffers(file_.get())) RaiseFileError(::GetLastError());
    }

  private:
    UniqueFileHandle file_;
};

// Marks the entry for deletion; it goes when the handle closes.
void Dispose(UniqueFileHandle& handle) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    if (!::SetFileInformationByHandle(handle.get(), FileDispositionInfo, &disposition,
                                      sizeof disposition)) {
        RaiseFileError(::GetLastError());
    }
    handle.reset();
}

}  // namespace

std::unique_ptr<RawListing> Win32FileSystem::Enumerate(const std::string& pattern) {
    ClosePending();
    std::wstring wide;
    // A name that is no UTF-8 names no file.
    if (!ApiPath(pattern, wide)) return std::make_unique<EmptyListing>();
    // FindFirstFileW refuses a pattern ending in "\"; such a pattern names a
    // folder whose whole content is meant.
    if (!wide.empty() && wide.back() == L'\\') wide += L'*';
    return std::make_unique<FindListing>(wide);
}

void Win32FileSystem::RemoveFile(const std::string& path) {
    const std::wstring api = ApiPathOrRaise(path);
    UniqueFileHandle file;
    if (pending_ && pendingPath_ == api) {
        file = std::move(pending_);
    } else {
        ClosePending();
        // Without folder semantics a folder refuses to open (75), as the
        // platform's own file deletion refuses it.
        DWORD error = 0;
        const Result opened = opener_.Open(api, DELETE, kShareAll, false, file, error);
        if (opened == Result::kFailed) RaiseFileError(error);
        if (opened == Result::kElsewhere) return;  // a link the platform cannot take alone
    }
    Dispose(file);
}

void Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    const std::wstring api = ApiPathOrRaise(path);
    ClosePending();
    FILE_BASIC_INFO info{};  // zero times stay as they are
    info.FileAttributes =
        attributes == attr::kNormal ? FILE_ATTRIBUTE_NORMAL : (attributes & kSettable);
    UniqueFileHandle entry;
    DWORD error = 0;
    // A file open for deletion too, kept for the deletion that follows; a
    // folder, or a file that may not be deleted or is in use, without it.
    Result opened =
        opener_.Open(api, DELETE | FILE_WRITE_ATTRIBUTES, kShareAll, false, entry, error);
    const bool keep = opened == Result::kItself;
    if (opened == Result::kFailed) {
        opened = opener_.Open(api, FILE_WRITE_ATTRIBUTES, kShareAll, true, entry, error);
    }
    if (opened == Result::kFailed) RaiseFileError(error);
    if (opened == Result::kElsewhere) return;
    if (!::SetFileInformationByHandle(entry.get(), FileBasicInfo, &info, sizeof info)) {
        RaiseFileError(::GetLastError());
    }
    if (keep) {
        pending_ = std::move(entry);
        pendingPath_ = api;
    }
}

void Win32FileSystem::CreateFolder(const std::string& path) {
    const std::wstring api = ApiPathOrRaise(path);
    ClosePending();
    if (!::CreateDirectoryW(api.c_str(), nullptr)) RaiseFileError(::GetLastError());
}

void Win32FileSystem::RemoveFolder(const std::string& path) {
    const std::wstring api = ApiPathOrRaise(path);
    ClosePending();
    UniqueFileHandle folder;
    DWORD error = 0;
    const Result opened = opener_.Open(api, DELETE, kShareAll, true, folder, error);
    // A missing last part, or a file there, means no such folder.
    if (opened == Result::kFailed) {
        RaiseFileError(error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error);
    }
    if (opened == Result::kElsewhere) return;  // a folder link Wine cannot remove alone
    if (!(EntryOpener::Attributes(folder.get()) & FILE_ATTRIBUTE_DIRECTORY)) {
        RaiseFileError(ERROR_PATH_NOT_FOUND);
    }
    Dispose(folder);
    opener_.Forget();
}

std::unique_ptr<BinaryFile> Win32FileSystem::OpenBinary(const std::string& path) {
    const std::wstring api = ApiPathOrRaise(path);
    ClosePending();
    constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
    constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
    UniqueFileHandle file;
    DWORD error = 0;
    const Result opened = opener_.Open(api, kReadWrite, kShare, false, file, error);
    if (opened == Result::kElsewhere) return nullptr;
    if (opened == Result::kFailed) {
        if (error != ERROR_FILE_NOT_FOUND) RaiseFileError(error);
        // Created only where nothing is: a dangling link refuses this.
        file.reset(::CreateFileW(api.c_str(), kReadWrite, kShare, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            error = ::GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return nullptr;
            RaiseFileError(error);
        }
    } else if (EntryOpener::Attributes(file.get()) & FILE_ATTRIBUTE_REPARSE_POINT) {
        return nullptr;  // a link opened as itself: nothing of its own to overwrite
    }
    return std::make_unique<Win32BinaryFile>(std::move(file));
}

std::string Win32FileSystem::ReadAll(const std::string& path) {
    const std::wstring api = ApiPathOrRaise(path);
    ClosePending();
    UniqueFileHandle file(::CreateFileW(api.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) RaiseFileError(::GetLastError());
    std::string bytes;
    char chunk[64 * 1024];
    DWORD read = 0;
    do {
        if (!::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) {
            RaiseFileError(::GetLastError());
        }
        bytes.append(chunk, read);
    } while (read > 0);
    return bytes;
}

EntryProbe Win32FileSystem::ProbeEntry(const std::string& path) {
    EntryProbe probe;
    const auto number = [](DWORD error) { return FileError(error).Number(); };
    std::wstring api;
    if (!ApiPath(path, api)) return {errnum::kBadFileName, 0, 0};
    ClosePending();
    CriticalErrorsFail quiet;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(api.c_str(), GetFileExInfoStandard, &data)) {
        const DWORD error = ::GetLastError();
        return {DriveNotReady(api) ? errnum::kDiskNotReady : number(error), 0, 0};
    }
    probe.attributes = data.dwFileAttributes;
    probe.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    UniqueFileHandle entry;
    DWORD error = 0;
    try {
        const Result opened = opener_.Open(api, DELETE, kShareAll, true, entry, error);
        if (opened == Result::kElsewhere) {
            probe.attributes |= attr::kReparsePoint;
            probe.passedOver = true;
        }
        // Some systems refuse a read-only file's open for deletion: that is
        // the attribute's answer, which the caller judges itself.
        const bool readOnly = probe.attributes & FILE_ATTRIBUTE_READONLY;
        if (opened == Result::kFailed && !(readOnly && error == ERROR_ACCESS_DENIED)) {
            probe.error = number(error);
        }
    } catch (const RunError& e) {
        probe.error = e.Number();
    }
    return probe;
}

DriveKind Win32FileSystem::KindOfDrive(const std::string& root) {
    // Only a root with its "\": an empty or relative one would ask about the
    // current folder's drive.
    const std::size_t length = PathRootLength(root);
    std::wstring wide;
    if (length == 0 || length + 1 < root.size() || root.back() != '\\' || !ToWide(root, wide)) {
        return DriveKind::kNone;
    }
    switch (::GetDriveTypeW(wide.c_str())) {
        case DRIVE_NO_ROOT_DIR:
            return DriveKind::kNone;
        case DRIVE_REMOVABLE:
            return DriveKind::kRemovable;
        case DRIVE_FIXED:
            return DriveKind::kFixed;
        case DRIVE_REMOTE:
            return DriveKind::kRemote;
        case DRIVE_CDROM:
            return DriveKind::kCdRom;
        case DRIVE_RAMDISK:
            return DriveKind::kRamDisk;
        default:
            return DriveKind::kUnknown;
    }
}

std::string Win32FileSystem::TempPath() {
    return FromWide(SizedText(::GetTempPathW));
}

std::string Win32FileSystem::WindowsFolder() {
    return FromWide(SizedText(
        [](DWORD size, wchar_t* buffer) { return ::GetWindowsDirectoryW(buffer, size); }));
}

std::string Win32FileSystem::ProfileFolder() {
    // What the temp path falls back on: the variable, not the shell's folder.
    return FromWide(SizedText([](DWORD size, wchar_t* buffer) {
        return ::GetEnvironmentVariableW(L"USERPROFILE", buffer, size);
    }));
}

std::string Win32FileSystem::AnsiToUtf8(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int units = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), units);
    return FromWide(wide);
}

}  // namespace vw::win32
