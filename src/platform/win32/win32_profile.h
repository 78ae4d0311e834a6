#pragma once

#include "platform/profile.h"

namespace vw::win32 {

// Reads initialization files through the system's own wide reader, except a
// file that starts with the UTF-8 byte-order mark: Windows reads that one as
// ANSI, mark and all, so it is parsed here by the system's rules.
class Win32ProfileReader final : public ProfileReader {
  public:
    std::string ReadString(const std::string& file, const std::string& section,
                           const std::string& key, std::uint16_t maxUnits) override;
};

}  // namespace vw::win32
