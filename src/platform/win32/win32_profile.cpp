#include "platform/win32/win32_profile.h"

#include <windows.h>

namespace vw::win32 {

std::uint32_t Win32ProfileReader::GetPrivateProfileStringA(const std::string& section,
                                                           const std::string& key,
                                                           const std::string& defaultValue,
                                                           char* buffer, std::uint32_t size,
                                                           const std::string& file) {
    if (buffer == nullptr || size == 0) return 0;
    // A bare or empty name would make the system read a file in the Windows
    // folder instead; this program never reads settings from there.
    if (file.empty()) {
        buffer[0] = '\0';
        return 0;
    }
    return ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                      size, file.c_str());
}

}  // namespace vw::win32
