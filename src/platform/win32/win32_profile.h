#pragma once

#include "platform/profile.h"

namespace vw::win32 {

// Reads initialization files through the system's own reader.
class Win32ProfileReader final : public ProfileReader {
  public:
    std::uint32_t GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                           const std::string& defaultValue, char* buffer,
                                           std::uint32_t size, const std::string& file) override;
};

}  // namespace vw::win32
