#pragma once

#include <string>

namespace vw {

// The path with a trailing "\", added only when missing; the empty text
// gives "\", so a caller must not take an empty path for a folder.
std::string AddBackslash(const std::string& path);

}  // namespace vw
