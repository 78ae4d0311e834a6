// Keys and values that refuse some calls only: the simulated registry stages
// what a real one cannot be made to do on demand.

#include "registry/reg32.h"

#include <gtest/gtest.h>

#include "support/sim_run.h"

namespace vw {
namespace {

const HKey kCu = hkey::kCurrentUser;

TEST(Reg32Test, TreeDeletionEndsAtAKeyThatKeepsRefusing) {
    test::SimMachine m;
    auto& reg = m.sim.registry;
    reg.SetString(kCu, "T\\Stuck\\A", "v", "1");
    reg.SetString(kCu, "T\\Stuck\\B\\C", "v", "1");
    reg.RefuseDelete(kCu, "T\\Stuck");
    reg.SetString(kCu, "T\\Canary", "v", "1");
    EXPECT_EQ(DeleteRegKeyTree(m.sim.platform(), kCu, "T\\Stuck"), 0);
    EXPECT_TRUE(reg.SubKeyNames(kCu, "T\\Stuck").empty());
    EXPECT_TRUE(reg.KeyExists(kCu, "T\\Stuck") && reg.KeyExists(kCu, "T\\Canary"));
    EXPECT_TRUE(m.sim.ui.boxes.empty());
    EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST(Reg32Test, PrefixDeletionStepsOverAValueItCannotDelete) {
    test::SimMachine m;
    auto& reg = m.sim.registry;
    for (const char* name : {"URL_1", "URL_2", "URL_3", "Other"})
        reg.SetString(kCu, "T", name, "x");
    reg.RefuseValueDelete(kCu, "T", "URL_2");
    DeleteRegValuesByPrefix(m.sim.platform(), kCu, "T", "url_");
    EXPECT_EQ(reg.ValueNames(kCu, "T"), (std::vector<std::string>{"URL_2", "Other"}));
    EXPECT_EQ(reg.OpenHandles(), 0u);
}

}  // namespace
}  // namespace vw
