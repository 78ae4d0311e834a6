#include "platform/win32/win32_entry.h"

#include <winternl.h>

#include <algorithm>

#include "platform/run_error.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_path.h"

namespace vw::win32 {

namespace {

constexpr auto kObjectNameInformation = static_cast<OBJECT_INFORMATION_CLASS>(1);
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);
constexpr NTSTATUS kBufferOverflow = static_cast<NTSTATUS>(0x80000005);

bool SameName(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

DWORD EntryOpener::Attributes(HANDLE handle) {
    FILE_BASIC_INFO info{};
    if (!::GetFileInformationByHandleEx(handle, FileBasicInfo, &info, sizeof info)) {
        RaiseFileError(::GetLastError());
    }
    return info.FileAttributes;
}

bool EntryOpener::ObjectName(HANDLE handle, std::wstring& name) {
    if (buffer_.size() < 4096) buffer_.resize(4096);
    for (int attempt = 0; attempt < 3; ++attempt) {
        ULONG needed = 0;
        const NTSTATUS status = ::NtQueryObject(handle, kObjectNameInformation, buffer_.data(),
                                                static_cast<ULONG>(buffer_.size()), &needed);
        if (status == kInfoLengthMismatch || status == kBufferOverflow) {
            buffer_.resize(std::max<std::size_t>(needed, buffer_.size() * 2));
            continue;
        }
        if (status < 0) return false;
        const auto* text = reinterpret_cast<const UNICODE_STRING*>(buffer_.data());
        name.assign(text->Buffer, text->Length / sizeof(wchar_t));
        return !name.empty();
    }
    return false;
}

bool EntryOpener::ParentName(const std::wstring& parent, std::wstring& name) {
    if (!parentPath_.empty() && parentPath_ == parent) {
        name = parentName_;
        return true;
    }
    // The folder itself may be reached through links: what counts is where
    // its entries are.
    UniqueFileHandle folder(::CreateFileW(parent.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder || !ObjectName(folder.get(), name)) return false;
    while (!name.empty() && name.back() == L'\\') name.pop_back();
    parentPath_ = parent;
    parentName_ = name;
    return true;
}

bool EntryOpener::IsItself(HANDLE handle, const std::wstring& apiPath) {
    std::wstring full = FullPath(apiPath);
    if (full.empty()) full = apiPath;
    while (full.size() > 1 && full.back() == L'\\' && full[full.size() - 2] != L':') {
        full.pop_back();
    }
    const auto slash = full.find_last_of(L'\\');
    // A drive root is never an entry of a folder.
    if (slash == std::wstring::npos || slash + 1 == full.size()) {
        throw RunError(errnum::kPathFileAccessError, "Path/File access error");
    }
    std::wstring parent = full.substr(0, slash);
    if (parent.empty() || parent.back() == L':') parent += L'\\';
    std::wstring parentName, name;
    if (!ParentName(parent, parentName) || !ObjectName(handle, name)) {
        // Unverifiable is refused, not guessed.
        throw RunError(errnum::kPathFileAccessError, "Path/File access error");
    }
    return SameName(name, parentName + L'\\' + full.substr(slash + 1));
}

EntryOpener::Result EntryOpener::Open(const std::wstring& apiPath, DWORD access, DWORD share,
                                      bool folders, UniqueFileHandle& handle, DWORD& error) {
    const DWORD flags = FILE_FLAG_OPEN_REPARSE_POINT | (folders ? FILE_FLAG_BACKUP_SEMANTICS : 0);
    handle.reset(::CreateFileW(apiPath.c_str(), access | FILE_READ_ATTRIBUTES, share, nullptr,
                               OPEN_EXISTING, flags, nullptr));
    if (!handle) {
        error = ::GetLastError();
        return Result::kFailed;
    }
    if (IsItself(handle.get(), apiPath)) return Result::kItself;
    handle.reset();
    return Result::kElsewhere;
}

}  // namespace vw::win32
