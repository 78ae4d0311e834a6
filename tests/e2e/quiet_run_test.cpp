// Runs that must end by themselves, without a box, touching nothing.
#include <gtest/gtest.h>

#include "canaries.h"
#include "local_ini.h"
#include "recent_docs.h"
#include "scenario.h"
#include "watch.h"

namespace vw::e2e {
namespace {

TEST(QuietRun, EverySwitchOffEndsAtOnceWithoutBoxAndTouchesNothing) {
    Canaries canaries;
    ASSERT_EQ("", canaries.PlantProblems());
    SeededRecentDocs recent;
    ASSERT_TRUE(recent.Planted());
    Scenario run("all_off");
    ASSERT_TRUE(run.Ready()) << run.Problem();
    ASSERT_TRUE(run.WriteIni(LocalIni()));
    ASSERT_TRUE(run.Start()) << run.Problem();

    const Watched watched = WatchUntilExit(run, kPromptMs);

    EXPECT_FALSE(watched.boxShown);
    EXPECT_EQ(watched.exitCode, 0u) << "ran " << run.ElapsedMs() << " ms";
    EXPECT_EQ("", canaries.Damage());
    EXPECT_TRUE(recent.Intact());
}

// The same file shown (not hidden) asks for a logoff: see ClosingBox.
TEST(QuietRun, HiddenLocalIniCountsAsMissing) {
    SeededRecentDocs recent;
    ASSERT_TRUE(recent.Planted());
    Scenario run("hidden_ini");
    ASSERT_TRUE(run.Ready()) << run.Problem();
    ASSERT_TRUE(run.WriteIni(LocalIni({{"RunHistory", "1"}, {"DocumentHistory", "1"}}), true));
    const DWORD attributes = GetFileAttributesA(run.IniPath().c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    ASSERT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(run.Start()) << run.Problem();

    const Watched watched = WatchUntilExit(run, kPromptMs);

    EXPECT_FALSE(watched.boxShown) << "the hidden file's RunHistory=1 was read";
    EXPECT_EQ(watched.exitCode, 0u);
    EXPECT_TRUE(recent.Intact()) << "the hidden file's DocumentHistory=1 was read";
}

}  // namespace
}  // namespace vw::e2e
