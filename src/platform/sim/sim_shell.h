#pragma once

#include "platform/shell.h"
#include "platform/sim/sim_faults.h"

namespace vw::sim {

class SimShell : public Shell {
  public:
    SimShell(SimFaults& faults, Journal& journal) : faults_(faults), journal_(journal) {}
    void SHAddToRecentDocs(std::uint32_t flags, const void* item) override;

  private:
    SimFaults& faults_;
    Journal& journal_;
};

}  // namespace vw::sim
