#include <gtest/gtest.h>

#include "platform/contract/profile_cases.h"
#include "platform/sim/sim_platform.h"

namespace vw {
namespace {

// The simulated reader gives the same answers as the real one (the win32
// suite runs these cases against the platform's own reader).
TEST(SimProfileContract, AnswersEveryCaseLikeThePlatform) {
    for (const auto& c : contract::ProfileCases()) {
        sim::SimPlatform sim;
        sim.files.AddFile("C:\\t\\case.ini", c.text);
        EXPECT_EQ(
            sim.profile.GetPrivateProfileStringA(c.section, c.key, "", c.size, "C:\\t\\case.ini"),
            c.expected)
            << c.name;
    }
}

}  // namespace
}  // namespace vw
