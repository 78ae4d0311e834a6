#pragma once

#include <string>

namespace vw {

// What the start-up asks of the platform about the running program.
class Process {
  public:
    virtual ~Process() = default;

    // True when another instance of this program already runs. The first
    // call also claims the instance for this process until it ends, so a
    // program started later sees this one.
    virtual bool AnotherInstanceRunning() = 0;

    // The folder holding the program's executable, without a trailing "\"
    // except for the root folder of a drive ("C:\").
    virtual std::string ProgramFolder() = 0;
};

}  // namespace vw
