#include "platform/sim/sim_shell.h"

namespace vw::sim {

void SimShell::SHAddToRecentDocs(std::uint32_t flags, const void* item) {
    journal_.push_back("SHAddToRecentDocs " + std::to_string(flags) + (item ? " item" : " null"));
    faults_.Check("SHAddToRecentDocs");
}

}  // namespace vw::sim
