#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"
#include "probe_cases.h"

namespace vw {
namespace {

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

// What state alone cannot show, the sim stages as faults: an access list
// refusing the deletion; and a drive without its medium.
TEST(SimProbeTest, AccessListAndDriveNotReady) {
    sim::SimPlatform sim;
    sim.files.AddFile("C:\\f.txt");
    sim.faults.FailOn("ProbeEntry", errnum::kPathFileAccessError);
    EXPECT_EQ(sim.files.ProbeEntry("C:\\f.txt").error, errnum::kPathFileAccessError);
    EXPECT_EQ(sim.files.ProbeEntry("C:\\f.txt").error, 0);
    sim.files.AddDrive('E', DriveKind::kRemovable, false);
    EXPECT_EQ(sim.files.ProbeEntry("E:\\f.txt").error, errnum::kDiskNotReady);
}

}  // namespace
}  // namespace vw
