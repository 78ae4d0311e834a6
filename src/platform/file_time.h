#pragma once

#include <cstdint>

namespace vw {

// A FILETIME: 100-nanosecond intervals since 1 January 1601, in two halves.
struct FileTime {
    std::uint32_t dwLowDateTime;
    std::uint32_t dwHighDateTime;
};

}  // namespace vw
