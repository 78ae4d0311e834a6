#include <gtest/gtest.h>

#include <set>

#include "platform/sim/sim_platform.h"

namespace vw {
namespace {

std::multiset<std::string> ListAll(FileSystem& fs, const std::string& pattern,
                                   std::uint32_t filter) {
    std::multiset<std::string> names;
    auto listing = fs.List(pattern, filter);
    for (auto name = listing.Next(); !name.empty(); name = listing.Next()) names.insert(name);
    return names;
}

class ListingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto& f = sim.files;
        f.AddFile("C:\\d\\plain.txt");
        f.AddFile("C:\\d\\ro.txt", "", attr::kReadOnly);
        f.AddFile("C:\\d\\noext");
        f.AddFile("C:\\d\\hid.txt", "", attr::kHidden);
        f.AddFile("C:\\d\\sys.txt", "", attr::kSystem);
        f.AddFile("C:\\d\\hidsys.txt", "", attr::kHidden | attr::kSystem);
        f.AddFolder("C:\\d\\sub");
        f.AddFolder("C:\\d\\hidsub", attr::kHidden);
        f.AddFolder("C:\\d\\syssub", attr::kSystem);
        f.AddFile("C:\\d\\sub\\deep.txt");
    }
    sim::SimPlatform sim;
};

TEST_F(ListingTest, AttributeFilterFollowsThePlatformRules) {
    using S = std::multiset<std::string>;
    EXPECT_EQ(ListAll(sim.files, "C:\\d\\*", attr::kNormal), (S{"plain.txt", "ro.txt", "noext"}));
    EXPECT_EQ(ListAll(sim.files, "C:\\d\\*", attr::kHidden),
              (S{"plain.txt", "ro.txt", "noext", "hid.txt"}));
    EXPECT_EQ(ListAll(sim.files, "C:\\d\\*", attr::kDirectory),
              (S{".", "..", "plain.txt", "ro.txt", "noext", "sub"}));
    EXPECT_EQ(ListAll(sim.files, "C:\\d\\", attr::kNormal), (S{"plain.txt", "ro.txt", "noext"}));
}

TEST_F(ListingTest, MasksMatchWithoutCaseAndStarDotStarTakesNamesWithoutExtension) {
    using S = std::multiset<std::string>;
    EXPECT_EQ(ListAll(sim.files, "c:\\D\\*.*", attr::kNormal), (S{"plain.txt", "ro.txt", "noext"}));
    EXPECT_EQ(ListAll(sim.files, "C:\\d\\*.TXT", attr::kNormal), (S{"plain.txt", "ro.txt"}));
    EXPECT_EQ(ListAll(sim.files, "C:\\d\\PLAIN.txt", attr::kNormal), (S{"plain.txt"}));
    EXPECT_EQ(ListAll(sim.files, "C:\\d\\?o.*", attr::kNormal), (S{"ro.txt"}));
    EXPECT_TRUE(ListAll(sim.files, "C:\\missing\\*", attr::kDirectory).empty());
    EXPECT_TRUE(ListAll(sim.files, "C:\\d\\plain.txt\\*", attr::kNormal).empty());
}

TEST_F(ListingTest, DriveRootHasNoDotEntries) {
    EXPECT_EQ(ListAll(sim.files, "C:\\*", attr::kDirectory),
              (std::multiset<std::string>{"d", "Program Files"}));
}

}  // namespace
}  // namespace vw
