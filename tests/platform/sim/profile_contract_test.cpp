#include <gtest/gtest.h>

#include "platform/contract/profile_cases.h"
#include "platform/sim/sim_platform.h"

namespace vw {
namespace {

// The simulated reader gives the answers the real one gives (the win32
// suite runs the same cases against the platform's own reader).
class SimProfileContract : public ::testing::TestWithParam<contract::ProfileCase> {};

TEST_P(SimProfileContract, ReadsLikeThePlatform) {
    const contract::ProfileCase& c = GetParam();
    sim::SimPlatform sim;
    sim.files.AddFile("C:\\t\\case.ini", c.text);
    const std::string file = contract::ProfileCaseFile(c, "C:\\t\\case.ini");
    EXPECT_EQ(sim.profile.ReadString(file, c.section, c.key, c.maxUnits), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SimProfileContract, ::testing::ValuesIn(contract::ProfileCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vw
