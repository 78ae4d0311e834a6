#pragma once

#include <string>

namespace vw {

// Full path of Local.Ini when it existed at start-up, else empty. Set only by
// Main; every settings read passes it as the file.
extern std::string IniPath;

}  // namespace vw
