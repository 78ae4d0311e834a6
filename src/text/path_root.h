#pragma once

#include <cstddef>
#include <string>

namespace vw {

// Length of a full path's root: 3 for "C:\", up to the end of the share name
// for "\\server\share" (the separator after it not counted); 0 for anything
// that is not a full path (relative, "C:x", "\x", a bare "\\server").
std::size_t PathRootLength(const std::string& path);

}  // namespace vw
