#pragma once

#include <string>

namespace vw {

// Matches a name against a mask the way the platform's listings do: * and ?,
// without regard to case; a mask ending in ".*" also matches names without a
// dot.
bool WildcardMatch(const std::string& mask, const std::string& name);

}  // namespace vw
