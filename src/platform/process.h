#pragma once

#include <cstdint>
#include <string>

namespace vw {

// Window show commands a started program is handed (the SW_ values).
namespace showcmd {
constexpr int kHide = 0;
constexpr int kNormalFocus = 1;
constexpr int kMinimizedFocus = 2;
}  // namespace showcmd

// The running program, and the start of other programs. Paths are UTF-8.
class Process {
  public:
    virtual ~Process() = default;

    // True when another instance of this program already runs. The first
    // call also claims the instance for this process until it ends, so a
    // program started later sees this one; later calls repeat the first
    // answer. Returns a value, never raises.
    virtual bool AnotherInstanceRunning() = 0;

    // The folder holding the program's executable, without a trailing "\"
    // except for the root folder of a drive ("C:\"). Never raises.
    virtual std::string ProgramFolder() = 0;

    // Starts the program file `path` without arguments, its first window
    // shown as `showCommand` says, and returns its process id at once: the
    // program is never waited for and nothing of it is kept. Raises RunError
    // 53 when there is no such file (or folder on its path, or the path is
    // no UTF-8), 75 when it may not be started (no access, a folder), 5 for
    // any other refusal (not a program, say).
    virtual std::uint32_t StartProgram(const std::string& path, int showCommand) = 0;
};

}  // namespace vw
