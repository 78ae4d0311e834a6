#pragma once

#include <string>
#include <vector>

namespace vw::sim {

// Fault injection shared by the simulated platform: an armed operation raises
// a RunError on its nth next call, once.
class SimFaults {
  public:
    void FailOn(const std::string& operation, long errorNumber, int nth = 1);
    // Raises when `operation` is armed and its turn has come.
    void Check(const std::string& operation);

  private:
    struct Armed {
        std::string operation;
        long errorNumber;
        int callsLeft;
    };
    std::vector<Armed> armed_;
};

// What the simulated platform was asked to do, in order, one line a call.
using Journal = std::vector<std::string>;

}  // namespace vw::sim
