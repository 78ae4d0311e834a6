#include "platform/win32/win32_drive_list.h"

#include <windows.h>

#include <cctype>
#include <cwchar>

#include "platform/win32/wide.h"
#include "platform/win32/win32_error.h"

namespace vw::win32 {

namespace {

std::string VolumeLabel(const wchar_t* root) {
    wchar_t label[MAX_PATH + 1] = {};
    if (!::GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr,
                                 0)) {
        return {};
    }
    return FromWideBuffer(label, MAX_PATH + 1);
}

}  // namespace

std::vector<std::string> DriveListEntries() {
    // The list of roots may grow between the two calls; retry until it fits.
    std::wstring roots;
    for (DWORD need = ::GetLogicalDriveStringsW(0, nullptr); need != 0;) {
        roots.assign(need, L'\0');
        const DWORD n = ::GetLogicalDriveStringsW(need, roots.data());
        if (n < need) {
            roots.resize(n);
            break;
        }
        need = n + 1;
    }

    CriticalErrorsFail guard;
    std::vector<std::string> entries;
    for (const wchar_t* root = roots.c_str(); *root != L'\0'; root += std::wcslen(root) + 1) {
        entries.push_back(DriveListEntry(FromWide(root), VolumeLabel(root)));
    }
    return entries;
}

std::string DriveListEntry(const std::string& root, const std::string& label) {
    if (root.empty()) return {};
    std::string entry{static_cast<char>(std::tolower(static_cast<unsigned char>(root[0]))), ':'};
    if (!label.empty()) entry += " [" + label + "]";
    return entry;
}

}  // namespace vw::win32
