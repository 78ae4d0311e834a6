#pragma once

#include "platform/registry.h"

namespace vw {

// Owns a key opened through the registry seam and closes it on every way
// out of the operation that opened it. A handle equal to the one it was
// opened from is not closed: the platform hands the caller's own handle back
// for an empty path, and that one belongs to the caller.
class OpenRegKey {
  public:
    OpenRegKey(Registry& registry, HKey from) : registry_(registry), from_(from) {}
    ~OpenRegKey() { Close(); }
    OpenRegKey(const OpenRegKey&) = delete;
    OpenRegKey& operator=(const OpenRegKey&) = delete;

    // For the out-parameter of an open call; closes what was held.
    HKey& put() {
        Close();
        return handle_;
    }
    HKey get() const { return handle_; }

  private:
    void Close() noexcept {
        if (handle_ != 0 && handle_ != from_) registry_.RegCloseKey(handle_);
        handle_ = 0;
    }

    Registry& registry_;
    HKey from_;
    HKey handle_ = 0;
};

}  // namespace vw
