#include "platform/win32/win32_shell.h"

#include <windows.h>
// Needs the definitions of <windows.h> before it.
#include <shlobj.h>

#include "platform/win32/wide.h"

namespace vw::win32 {

void Win32Shell::ClearRecentDocuments() {
    // Flags 0 with no item: the shell's own way of emptying the list.
    ::SHAddToRecentDocs(0, nullptr);
}

long Win32Shell::EmptyRecycleBin(const std::string& rootPath, std::uint32_t flags) {
    std::wstring root;
    if (!ToWide(rootPath, root)) return E_INVALIDARG;
    return ::SHEmptyRecycleBinW(nullptr, root.c_str(), flags);
}

RecycleBinCount Win32Shell::QueryRecycleBin(const std::string& rootPath) {
    std::wstring root;
    if (!ToWide(rootPath, root)) return {E_INVALIDARG, 0, 0};
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    const HRESULT status = ::SHQueryRecycleBinW(root.empty() ? nullptr : root.c_str(), &info);
    if (FAILED(status)) return {status, 0, 0};
    return {status, static_cast<std::uint64_t>(info.i64NumItems),
            static_cast<std::uint64_t>(info.i64Size)};
}

}  // namespace vw::win32
