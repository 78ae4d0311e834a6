#include "files.h"

#include <windows.h>

#include "platform/win32/handles.h"

namespace vw::e2e {

bool WriteText(const std::string& path, const std::string& text) {
    win32::UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

std::optional<std::string> ReadText(const std::string& path) {
    win32::UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        text.append(buffer, got);
    }
    return text;
}

void RemoveFile(const std::string& path) {
    // Read-only or hidden leftovers would otherwise survive.
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

void RemoveFlatFolder(const std::string& folder) {
    WIN32_FIND_DATAA entry{};
    HANDLE raw = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (raw != INVALID_HANDLE_VALUE) {
        win32::UniqueFindHandle find(raw);
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                RemoveFile(folder + "\\" + entry.cFileName);
            }
        } while (FindNextFileA(find.get(), &entry));
    }
    RemoveDirectoryA(folder.c_str());
}

std::string OwnFolder() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string own(path, n);
    return own.substr(0, own.find_last_of('\\') + 1);
}

}  // namespace vw::e2e
