#include "platform/win32/win32_shell.h"

#include <windows.h>
// Needs the definitions of <windows.h> before it.
#include <shlobj.h>

#include "platform/win32/wide.h"

namespace vw::win32 {

void Win32Shell::SHAddToRecentDocs(std::uint32_t flags, const void* item) {
    ::SHAddToRecentDocs(flags, item);
}

long Win32Shell::SHEmptyRecycleBinA(std::uintptr_t owner, const std::string& rootPath,
                                    std::uint32_t flags) {
    std::wstring root;
    if (!ToWide(rootPath, root)) return E_INVALIDARG;
    return ::SHEmptyRecycleBinW(reinterpret_cast<HWND>(owner), root.c_str(), flags);
}

}  // namespace vw::win32
