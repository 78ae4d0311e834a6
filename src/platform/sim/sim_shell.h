#pragma once

#include "platform/shell.h"
#include "platform/sim/sim_faults.h"

namespace vw::sim {

class SimShell : public Shell {
  public:
    SimShell(SimFaults& faults, Journal& journal) : faults_(faults), journal_(journal) {}
    void SHAddToRecentDocs(std::uint32_t flags, const void* item) override;
    long SHEmptyRecycleBinA(std::uintptr_t owner, const std::string& rootPath,
                            std::uint32_t flags) override;

    // Items in the Recycle Bin; the shell reports failure when it is empty.
    int recycled = 0;

  private:
    SimFaults& faults_;
    Journal& journal_;
};

}  // namespace vw::sim
