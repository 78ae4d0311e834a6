#pragma once

#include "platform/file_system.h"

namespace vw::win32 {

// File services through the ANSI Win32 file API.
class Win32FileSystem final : public FileSystem {
  public:
    std::unique_ptr<RawListing> Enumerate(const std::string& pattern) override;
    void DeleteFileA(const std::string& path) override;
    void SetAttr(const std::string& path, std::uint32_t attributes) override;
    void CreateDirectoryA(const std::string& path) override;
    void RemoveDirectoryA(const std::string& path) override;
    std::uint32_t GetDriveTypeA(const std::string& rootPath) override;
    std::uint32_t GetTempPathA(std::uint32_t bufferLength, char* buffer) override;
    std::string GetWindowsDirectoryA() override;
    std::string UserProfileFolder() override;
    std::unique_ptr<BinaryFile> OpenBinary(const std::string& path) override;
    std::string ReadAll(const std::string& path) override;
};

}  // namespace vw::win32
