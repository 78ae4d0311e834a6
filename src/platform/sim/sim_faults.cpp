#include "platform/sim/sim_faults.h"

#include "platform/run_error.h"

namespace vw::sim {

void SimFaults::FailOn(const std::string& operation, long errorNumber, int nth) {
    armed_.push_back({operation, errorNumber, nth});
}

void SimFaults::Check(const std::string& operation) {
    for (auto it = armed_.begin(); it != armed_.end(); ++it) {
        if (it->operation != operation || --it->callsLeft > 0) continue;
        const long number = it->errorNumber;
        armed_.erase(it);
        throw RunError(number, "simulated failure in " + operation);
    }
}

}  // namespace vw::sim
