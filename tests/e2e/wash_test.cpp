// Starts of the built exe: what it shows, when it ends, what it leaves alone.
#include <gtest/gtest.h>

#include "harness.h"

namespace vw::e2e {
namespace {

TEST(QuietRun, EverySwitchOffEndsAtOnceWithoutBoxAndTouchesNothing) {
    Canaries canaries;
    Scenario("all_off", LocalIni(false)).ExpectQuietEnd();
    EXPECT_EQ("", canaries.Damage());
}

// The same file shown asks for a logoff and washes RecentDocs.
TEST(QuietRun, HiddenLocalIniCountsAsMissing) {
    Canaries canaries;
    Scenario run("hidden_ini", LocalIni(false, "RunHistory DocumentHistory"), true);
    run.ExpectQuietEnd();  // a box: the hidden file's RunHistory=1 was read
    EXPECT_EQ("", canaries.Damage()) << "the hidden file's DocumentHistory=1 was read";
}

TEST(ClosingBox, RunHistoryAsksForLogoffAndExitsOnOk) {
    Scenario run("run_history", LocalIni(false, "RunHistory"));
    ASSERT_EQ("", run.problem);

    const Outcome outcome = run.Watch(kBoxShowMs);
    ASSERT_TRUE(outcome.boxShown) << "no box; exit code " << outcome.exitCode.value_or(~0u);
    HWND box = BoxesOf(run.pid).front();
    EXPECT_EQ("Vantrix", Text(box));
    EXPECT_EQ("Please logoff the machine for effect in Run History.", BoxMessage(box));
    EXPECT_EQ(1u, BoxesOf(run.pid).size());
    EXPECT_FALSE(run.Wait(200)) << "the box must hold the process until OK";

    ASSERT_TRUE(PostMessageA(box, WM_COMMAND, IDOK, 0));
    EXPECT_EQ(run.Wait(kPromptMs), 0u);
}

TEST(ClosingBox, SkipMessagesSuppressesIt) {
    Scenario("skip_messages", LocalIni(false, "RunHistory", true)).ExpectQuietEnd();
}

TEST(SingleInstance, SecondStartLeavesAtOnceWhileFirstHoldsItsBox) {
    Scenario first("first", LocalIni(false, "RunHistory"));
    ASSERT_EQ("", first.problem);
    ASSERT_TRUE(first.Watch(kBoxShowMs).boxShown);
    HWND box = BoxesOf(first.pid).front();

    // Planted only now: the first has finished washing, so any change is the
    // second's. Everything on: a second instance that ran would wash and ask.
    Canaries canaries;
    Scenario("second", LocalIni(true)).ExpectQuietEnd();
    EXPECT_FALSE(first.Wait(0)) << "the first must still hold its box";
    EXPECT_EQ(1u, BoxesOf(first.pid).size());
    EXPECT_EQ("", canaries.Damage());

    ASSERT_TRUE(PostMessageA(box, WM_COMMAND, IDOK, 0));
    EXPECT_EQ(first.Wait(kPromptMs), 0u);
}

TEST(DocumentHistory, OnRemovesRecentDocsAndNothingElse) {
    Canaries canaries;
    Scenario run("document_history_on", LocalIni(false, "DocumentHistory"));
    ASSERT_EQ("", run.problem);
    EXPECT_EQ(run.Wait(kPromptMs), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRecentDocs));
    EXPECT_EQ(std::string(kRecentDocs) + " 0 is gone\n", canaries.Damage());
}

// Every other item on, so only this switch can be what spares the key; those
// items may wash other canaries by design, so only RecentDocs is checked.
TEST(DocumentHistory, OffLeavesRecentDocs) {
    Canaries canaries;
    Scenario run("document_history_off", LocalIni(true, "DocumentHistory", true));
    ASSERT_EQ("", run.problem);
    EXPECT_EQ(run.Wait(kPromptMs), 0u);
    EXPECT_EQ(std::string::npos, canaries.Damage().find("RecentDocs"));
}

}  // namespace
}  // namespace vw::e2e
