#pragma once

#include <memory>
#include <vector>

#include "platform/registry.h"

namespace vw::win32 {

// The registry through the wide functions of advapi32; names and text
// cross between the seam's UTF-8 and UTF-16 at this edge. Every opened key
// is owned by its object and closed with it.
class Win32Registry final : public Registry {
  public:
    Win32Registry();
    ~Win32Registry() override;

    RegKey& Root(HKey root) override;

  private:
    // The five predefined roots, then a key standing for any other value.
    std::vector<std::unique_ptr<RegKey>> roots_;
};

}  // namespace vw::win32
