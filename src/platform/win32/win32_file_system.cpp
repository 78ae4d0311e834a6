#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/win32/handles.h"
#include "platform/win32/win32_error.h"

namespace vw::win32 {

namespace {

class FindListing final : public RawListing {
  public:
    explicit FindListing(const std::string& pattern) {
        find_.reset(::FindFirstFileA(pattern.c_str(), &data_));
        pending_ = static_cast<bool>(find_);
    }

    bool Next(DirEntry& entry) override {
        if (!pending_) {
            if (!find_ || !::FindNextFileA(find_.get(), &data_)) {
                find_.reset();  // released as soon as the enumeration ends
                return false;
            }
        }
        pending_ = false;
        entry.name = data_.cFileName;
        entry.attributes = data_.dwFileAttributes;
        return true;
    }

  private:
    UniqueFindHandle find_;
    WIN32_FIND_DATAA data_{};
    bool pending_ = false;  // data_ holds an entry not handed out yet
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

}  // namespace

std::unique_ptr<RawListing> Win32FileSystem::Enumerate(const std::string& pattern) {
    // FindFirstFileA refuses a pattern ending in "\"; such a pattern names a
    // folder whose whole content is meant.
    if (!pattern.empty() && pattern.back() == '\\') {
        return std::make_unique<FindListing>(pattern + "*");
    }
    return std::make_unique<FindListing>(pattern);
}

void Win32FileSystem::DeleteFileA(const std::string& path) {
    if (!::DeleteFileA(path.c_str())) RaiseFileError(::GetLastError());
}

void Win32FileSystem::SetAttr(const std::string& path, std::uint32_t attributes) {
    const DWORD bits = attributes == attr::kNormal ? FILE_ATTRIBUTE_NORMAL : attributes;
    if (!::SetFileAttributesA(path.c_str(), bits)) RaiseFileError(::GetLastError());
}

void Win32FileSystem::CreateDirectoryA(const std::string& path) {
    if (!::CreateDirectoryA(path.c_str(), nullptr)) RaiseFileError(::GetLastError());
}

void Win32FileSystem::RemoveDirectoryA(const std::string& path) {
    if (::RemoveDirectoryA(path.c_str())) return;
    const DWORD error = ::GetLastError();
    // A missing last part, or a file there, means no such folder.
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_DIRECTORY) {
        RaiseFileError(ERROR_PATH_NOT_FOUND);
    }
    RaiseFileError(error);
}

std::uint32_t Win32FileSystem::GetDriveTypeA(const std::string& rootPath) {
    return ::GetDriveTypeA(rootPath.c_str());
}

std::uint32_t Win32FileSystem::GetTempPathA(std::uint32_t bufferLength, char* buffer) {
    // Read into a buffer of our own: the caller's is written only when the
    // whole path fits, whatever the system does with a short one.
    char path[MAX_PATH + 1];
    const DWORD length = ::GetTempPathA(sizeof path, path);
    if (length == 0 || length >= sizeof path) return length;
    if (length + 1 > bufferLength) return length + 1;
    std::memcpy(buffer, path, length + 1);
    return length;
}

std::string Win32FileSystem::GetWindowsDirectoryA() {
    char path[MAX_PATH + 1];
    const UINT length = ::GetWindowsDirectoryA(path, sizeof path);
    return length == 0 || length >= sizeof path ? std::string() : std::string(path, length);
}

std::string Win32FileSystem::UserProfileFolder() {
    // What the temp path falls back on: the variable, not the shell's folder.
    char path[MAX_PATH + 1];
    const DWORD length = ::GetEnvironmentVariableA("USERPROFILE", path, sizeof path);
    return length == 0 || length >= sizeof path ? std::string() : std::string(path, length);
}

std::unique_ptr<BinaryFile> Win32FileSystem::OpenBinary(const std::string& path) {
    UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) RaiseFileError(::GetLastError());
    return std::make_unique<Win32BinaryFile>(std::move(file));
}

std::string Win32FileSystem::ReadAll(const std::string& path) {
    UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
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

}  // namespace vw::win32
