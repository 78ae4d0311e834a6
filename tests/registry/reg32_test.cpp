#include "registry/reg32.h"

#include <gtest/gtest.h>

#include "platform/contract/file_cases.h"
#include "support/sim_run.h"

namespace vw {
namespace {

const HKey kCu = hkey::kCurrentUser;

class Reg32Test : public ::testing::Test {
  protected:
    test::SimMachine m;
    sim::SimRegistry& reg = m.sim.registry;
    Platform& p = m.sim.platform();
};

TEST_F(Reg32Test, TreeDeletionEndsAtAKeyThatKeepsRefusing) {
    reg.SetString(kCu, "T\\Stuck\\A", "v", "1");
    reg.SetString(kCu, "T\\Stuck\\B\\C", "v", "1");
    reg.RefuseDelete(kCu, "T\\Stuck");
    reg.SetString(kCu, "T\\Canary", "v", "1");

    EXPECT_EQ(DeleteRegKeyTree(p, kCu, "T\\Stuck"), 0);
    EXPECT_EQ(reg.SubKeyNames(kCu, "T\\Stuck"), std::vector<std::string>{});
    EXPECT_TRUE(reg.KeyExists(kCu, "T\\Stuck"));
    EXPECT_TRUE(reg.KeyExists(kCu, "T\\Canary"));
    EXPECT_TRUE(m.sim.ui.boxes.empty());
    EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST_F(Reg32Test, AccessDeniedBoxOncePerRefusingKeyAtAnyDepth) {
    reg.AddKey(kCu, "T\\Top\\Locked1\\Inner");
    reg.AddKey(kCu, "T\\Top\\Mid\\Locked2\\Inner");
    reg.AddKey(kCu, "T\\Top\\Mid\\Free\\Deep");
    reg.DenyAll(kCu, "T\\Top\\Locked1");
    reg.DenyAll(kCu, "T\\Top\\Mid\\Locked2");

    EXPECT_EQ(DeleteRegKeyTree(p, kCu, "T\\Top"), 0);
    ASSERT_EQ(m.sim.ui.boxes.size(), 2u);
    for (const auto& box : m.sim.ui.boxes) {
        EXPECT_EQ(box.text, "Access denied to delete registry key.");
        EXPECT_EQ(box.caption, "Access Denied");
        EXPECT_EQ(box.type, mb::kOk | mb::kIconStop);
    }
    EXPECT_FALSE(reg.KeyExists(kCu, "T\\Top\\Mid\\Free"));
    EXPECT_TRUE(reg.KeyExists(kCu, "T\\Top\\Locked1\\Inner"));
    EXPECT_TRUE(reg.KeyExists(kCu, "T\\Top\\Mid\\Locked2\\Inner"));
    EXPECT_EQ(reg.OpenHandles(), 0u);

    // The refusing key named directly: its own box and status.
    m.sim.ui.boxes.clear();
    EXPECT_EQ(DeleteRegKeyTree(p, kCu, "T\\Top\\Locked1"), 5);
    EXPECT_EQ(m.sim.ui.boxes.size(), 1u);
}

TEST_F(Reg32Test, PrefixDeletionStepsOverAValueItCannotDelete) {
    for (const char* name : {"URL_1", "URL_2", "URL_3", "Other"}) {
        reg.SetString(kCu, "T\\H", name, "x");
    }
    reg.RefuseValueDelete(kCu, "T\\H", "URL_2");

    DeleteRegValuesByPrefix(p, kCu, "T\\H", "url_");
    EXPECT_EQ(reg.ValueNames(kCu, "T\\H"), (std::vector<std::string>{"URL_2", "Other"}));
    EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST(ParseRootKeyTest, SplitsAtTheFirstSeparatorForExactRootNames) {
    const std::pair<const char*, const char*> roots[] = {{"HKEY_CLASSES_ROOT", "-2147483648"},
                                                         {"HKEY_CURRENT_USER", "-2147483647"},
                                                         {"HKEY_LOCAL_MACHINE", "-2147483646"},
                                                         {"HKEY_USERS", "-2147483645"},
                                                         {"HKEY_PERFORMANCE_DATA", "-2147483644"}};
    for (const auto& [name, value] : roots) {
        std::string below;
        EXPECT_EQ(ParseRootKey(std::string(name) + "\\Software\\X", below), value);
        EXPECT_EQ(below, "Software\\X");
        // The text converts back to the root the platform knows.
        EXPECT_GE(std::stoll(value), hkey::kClassesRoot);
    }
    std::string below = "kept";
    EXPECT_EQ(ParseRootKey("HKEY_USERS\\", below), "-2147483645");
    EXPECT_EQ(below, "");
    below = "kept";
    EXPECT_EQ(ParseRootKey("hkey_local_machine\\Software", below), "");
    EXPECT_EQ(ParseRootKey("HKLM\\Software", below), "");
    EXPECT_EQ(below, "kept");
    EXPECT_EQ(contract::ErrorOf([&] { ParseRootKey("HKEY_CURRENT_USER", below); }),
              errnum::kInvalidArgument);
}

}  // namespace
}  // namespace vw
