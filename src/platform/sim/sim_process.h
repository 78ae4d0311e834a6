#pragma once

#include <string>

#include "platform/process.h"

namespace vw::sim {

class SimProcess : public Process {
  public:
    bool anotherInstance = false;
    std::string programFolder = "C:\\Program Files\\Vantrix";

    bool AnotherInstanceRunning() override { return anotherInstance; }
    std::string ProgramFolder() override { return programFolder; }
};

}  // namespace vw::sim
