#pragma once

#include <cstdint>

namespace vw {

// The platform's shell services.
class Shell {
  public:
    virtual ~Shell() = default;

    // SHAddToRecentDocs: flags 0 with a null item empties the current
    // user's list of recently used documents. No result.
    virtual void SHAddToRecentDocs(std::uint32_t flags, const void* item) = 0;
};

}  // namespace vw
