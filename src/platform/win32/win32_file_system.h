#pragma once

#include "platform/file_system.h"

namespace vw::win32 {

// Folder enumeration through FindFirstFileA / FindNextFileA.
class Win32FileSystem final : public FileSystem {
  public:
    std::unique_ptr<RawListing> Enumerate(const std::string& pattern) override;
};

}  // namespace vw::win32
