#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"
#include "probe_cases.h"

namespace vw {
namespace {

// An access list refusing a deletion and a drive without its medium, which
// the sim stages as faults, are predicted in the overlay's own tests.
TEST(SimProbeTest, Contract) {
    sim::SimPlatform sim;
    sim.files.AddFile("C:\\stage\\f.txt", "bytes");
    sim.files.AddFile("C:\\stage\\ro.txt", "bytes", attr::kReadOnly);
    sim.files.AddFile("C:\\stage\\held.txt");
    sim.files.HoldOpen("C:\\stage\\held.txt");
    sim.files.AddFolder("C:\\stage\\dir");
    sim.registry.AddKey(hkey::kCurrentUser, "Software\\Probe\\k\\sub");
    sim.shell.recycled = 1;
    contract::CheckProbes({sim.platform(), "C:\\stage", "Software\\Probe"});
}

}  // namespace
}  // namespace vw
