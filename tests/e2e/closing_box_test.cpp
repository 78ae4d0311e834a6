// The logoff request a Run history wash ends with.
#include <gtest/gtest.h>

#include "local_ini.h"
#include "message_box.h"
#include "scenario.h"
#include "watch.h"

namespace vw::e2e {
namespace {

TEST(ClosingBox, RunHistoryAsksForLogoffAndExitsOnOk) {
    Scenario run("run_history");
    ASSERT_TRUE(run.Ready()) << run.Problem();
    ASSERT_TRUE(run.WriteIni(LocalIni({{"RunHistory", "1"}})));
    ASSERT_TRUE(run.Start()) << run.Problem();

    HWND box = WaitForBox(run.Pid(), kBoxShowMs);
    ASSERT_NE(nullptr, box) << "no box within " << kBoxShowMs << " ms; exit code "
                            << run.Wait(0).value_or(~0u);
    EXPECT_EQ("Vantrix", Title(box));
    EXPECT_EQ("Please logoff the machine for effect in Run History.", BoxMessage(box));
    EXPECT_EQ(std::vector<int>{IDOK}, ButtonIds(box));
    EXPECT_TRUE(ShowsIcon(box));
    EXPECT_EQ(1u, BoxesOf(run.Pid()).size());
    EXPECT_FALSE(run.Wait(200).has_value()) << "the box must hold the process until OK";

    ASSERT_TRUE(PressOk(box));
    EXPECT_EQ(run.Wait(kPromptMs), 0u);
}

TEST(ClosingBox, SkipMessagesSuppressesIt) {
    Scenario run("skip_messages");
    ASSERT_TRUE(run.Ready()) << run.Problem();
    ASSERT_TRUE(run.WriteIni(LocalIni({{"RunHistory", "1"}, {"SkipMessages", "1"}})));
    ASSERT_TRUE(run.Start()) << run.Problem();

    const Watched watched = WatchUntilExit(run, kPromptMs);

    EXPECT_FALSE(watched.boxShown);
    EXPECT_EQ(watched.exitCode, 0u);
}

}  // namespace
}  // namespace vw::e2e
