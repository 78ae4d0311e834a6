#pragma once

#include "platform/file_system.h"

namespace vw::win32 {

// Folder enumeration through FindFirstFileA / FindNextFileA.
class Win32FileSystem final : public FileSystem {
  public:
    std::unique_ptr<RawListing> Enumerate(const std::string& pattern) override;
    void DeleteFileA(const std::string& path) override;
};

}  // namespace vw::win32
