#pragma once

#include <string>

namespace vw {

// Whether a Temp path may be emptied. Not when it is empty, relative, a drive
// or share root, holds a "." or ".." component, or is (or contains) the
// Windows folder or the user's profile folder: the platform falls back on
// those when no temp variable is set, and emptying them would wreck the
// machine. Compared without regard to case.
bool TempDirIsWashable(const std::string& dir, const std::string& windowsFolder,
                       const std::string& profileFolder);

}  // namespace vw
