#include <gtest/gtest.h>

#include "platform/contract/listing_cases.h"
#include "platform/sim/sim_platform.h"

namespace vw {
namespace {

TEST(SimListingContract, ListsEveryCaseLikeThePlatform) {
    sim::SimPlatform sim;
    const std::string root = "C:\\t";
    for (const auto& e : contract::ListingTree()) {
        if (e.attributes & attr::kDirectory) {
            sim.files.AddFolder(root + "\\" + e.name, e.attributes);
        } else {
            sim.files.AddFile(root + "\\" + e.name, "x", e.attributes);
        }
    }
    for (const auto& c : contract::ListingCases()) {
        EXPECT_EQ(contract::ListNames(sim.files, root + c.pattern, c.filter), c.expected)
            << c.pattern << " filter " << c.filter;
    }
    // A drive root has no "." and "..".
    EXPECT_EQ(contract::ListNames(sim.files, "C:\\*", attr::kDirectory),
              (std::set<std::string>{"t", "Program Files"}));
}

}  // namespace
}  // namespace vw
