// A start beside a running instance leaves at once and does nothing.
#include <gtest/gtest.h>

#include "canaries.h"
#include "local_ini.h"
#include "message_box.h"
#include "recent_docs.h"
#include "scenario.h"
#include "watch.h"

namespace vw::e2e {
namespace {

TEST(SingleInstance, SecondStartLeavesAtOnceWhileFirstHoldsItsBox) {
    Scenario first("first");
    ASSERT_TRUE(first.Ready()) << first.Problem();
    ASSERT_TRUE(first.WriteIni(LocalIni({{"RunHistory", "1"}})));
    ASSERT_TRUE(first.Start()) << first.Problem();
    HWND box = WaitForBox(first.Pid(), kBoxShowMs);
    ASSERT_NE(nullptr, box);

    // Planted only now: the first has finished washing, so any change is the
    // second's.
    Canaries canaries;
    ASSERT_EQ("", canaries.PlantProblems());
    SeededRecentDocs recent;
    ASSERT_TRUE(recent.Planted());
    Scenario second("second");
    ASSERT_TRUE(second.Ready()) << second.Problem();
    // Everything on: a second instance that ran would wash and ask too.
    ASSERT_TRUE(second.WriteIni(LocalIniAllOn()));
    ASSERT_TRUE(second.Start()) << second.Problem();

    const Watched watched = WatchUntilExit(second, kPromptMs);

    EXPECT_FALSE(watched.boxShown);
    EXPECT_EQ(watched.exitCode, 0u) << "second ran " << second.ElapsedMs() << " ms";
    EXPECT_FALSE(first.Wait(0).has_value()) << "the first must still hold its box";
    EXPECT_EQ(1u, BoxesOf(first.Pid()).size());
    EXPECT_EQ("", canaries.Damage());
    EXPECT_TRUE(recent.Intact());

    ASSERT_TRUE(PressOk(box));
    EXPECT_EQ(first.Wait(kPromptMs), 0u);
}

}  // namespace
}  // namespace vw::e2e
