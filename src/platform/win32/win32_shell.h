#pragma once

#include "platform/shell.h"

namespace vw::win32 {

class Win32Shell final : public Shell {
  public:
    void SHAddToRecentDocs(std::uint32_t flags, const void* item) override;
};

}  // namespace vw::win32
