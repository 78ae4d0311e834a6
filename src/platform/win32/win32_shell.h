#pragma once

#include "platform/shell.h"

namespace vw::win32 {

class Win32Shell final : public Shell {
  public:
    void ClearRecentDocuments() override;
    long EmptyRecycleBin(const std::string& rootPath, std::uint32_t flags) override;
    RecycleBinCount QueryRecycleBin(const std::string& rootPath) override;
};

}  // namespace vw::win32
