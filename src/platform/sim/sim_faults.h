#pragma once

#include <map>
#include <set>
#include <vector>

#include "platform/run_error.h"

namespace vw::sim {

// Fault injection shared by the simulated platform: an armed call raises a
// RunError on its nth next call, once.
class SimFaults {
    std::map<std::string, std::pair<long, int>> due_;  // number, calls to go

  public:
    // By call, the numbers it may be armed with: those the real backend
    // raises there, none for a call that never raises. A part of the sim
    // fills in its own calls.
    std::map<std::string, std::set<long>> raises;

    // Arming a listed call with a number it never raises is the test's
    // mistake, not a fault of the platform: std::invalid_argument.
    void FailOn(const std::string& call, long number, int nth = 1) {
        if (raises.count(call) && !raises[call].count(number)) throw std::invalid_argument(call);
        due_[call] = {number, nth};
    }
    // Raises when `call` is armed and its turn has come.
    void Check(const std::string& call) {
        if (due_.count(call) && --due_[call].second == 0) throw RunError(due_[call].first, call);
    }
};

// What the simulated platform was asked to do, in order, one line a call.
using Journal = std::vector<std::string>;

}  // namespace vw::sim
