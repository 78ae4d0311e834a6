#pragma once

#include <string>
#include <vector>

#include "platform/process.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_file_system.h"

namespace vw::sim {

// The running program and the programs it starts. A start is journaled
// ("start <path> <show command>") and recorded; the program file must exist
// in the simulated file system. A fault armed on "StartProgram" refuses the
// start with the armed number.
class SimProcess : public Process {
  public:
    struct Start {
        std::string path;
        int showCommand;
    };

    SimProcess(SimFileSystem& files, SimFaults& faults, Journal& journal)
        : files_(files), faults_(faults), journal_(journal) {}

    bool anotherInstance = false;
    std::string programFolder = "C:\\Program Files\\Vantrix";
    std::vector<Start> started;

    bool AnotherInstanceRunning() override { return anotherInstance; }
    std::string ProgramFolder() override { return programFolder; }
    std::uint32_t StartProgram(const std::string& path, int showCommand) override;

  private:
    SimFileSystem& files_;
    SimFaults& faults_;
    Journal& journal_;
};

}  // namespace vw::sim
