#pragma once

#include "platform/shell.h"

namespace vw::win32 {

class Win32Shell final : public Shell {
  public:
    void SHAddToRecentDocs(std::uint32_t flags, const void* item) override;
    long SHEmptyRecycleBinA(std::uintptr_t owner, const std::string& rootPath,
                            std::uint32_t flags) override;
};

}  // namespace vw::win32
