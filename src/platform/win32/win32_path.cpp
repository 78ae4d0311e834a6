#include "platform/win32/win32_path.h"

#include <windows.h>

#include "platform/run_error.h"
#include "platform/win32/wide.h"

namespace vw::win32 {

namespace {

// CreateDirectory's limit, the strictest of the classic ones.
constexpr std::size_t kClassicLimit = MAX_PATH - 12;

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

}  // namespace

std::wstring FullPath(const std::wstring& path) {
    return SizedText([&](DWORD size, wchar_t* buffer) {
        return ::GetFullPathNameW(path.c_str(), size, buffer, nullptr);
    });
}

bool ApiPath(const std::string& path, std::wstring& wide) {
    if (!ToWide(path, wide)) return false;
    if (wide.size() < kClassicLimit) return true;
    const bool drive = wide.size() >= 3 && ((wide[0] | 0x20) >= L'a' && (wide[0] | 0x20) <= L'z') &&
                       wide[1] == L':' && IsSeparator(wide[2]);
    const bool unc =
        IsSeparator(wide[0]) && IsSeparator(wide[1]) && wide[2] != L'?' && wide[2] != L'.';
    // A relative path (or one already in a device form) is left as it is.
    if (!drive && !unc) return true;
    const std::wstring full = FullPath(wide);
    if (full.empty()) return true;
    wide = unc ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
    return true;
}

std::wstring ApiPathOrRaise(const std::string& path) {
    std::wstring wide;
    if (!ApiPath(path, wide)) throw RunError(errnum::kBadFileName, "Bad file name or number");
    return wide;
}

}  // namespace vw::win32
