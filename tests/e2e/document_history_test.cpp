// The Document history wash and its switch.
#include <gtest/gtest.h>

#include "canaries.h"
#include "local_ini.h"
#include "recent_docs.h"
#include "scenario.h"
#include "watch.h"

namespace vw::e2e {
namespace {

TEST(DocumentHistory, OnRemovesRecentDocsAndNothingElse) {
    Canaries canaries;
    ASSERT_EQ("", canaries.PlantProblems());
    SeededRecentDocs recent(false);
    ASSERT_TRUE(recent.Planted());
    Scenario run("document_history_on");
    ASSERT_TRUE(run.Ready()) << run.Problem();
    ASSERT_TRUE(run.WriteIni(LocalIni({{"DocumentHistory", "1"}})));

    ASSERT_EQ(run.Run(kPromptMs), 0u);

    EXPECT_FALSE(recent.KeyExists());
    EXPECT_EQ("", canaries.Damage());
}

// Every other item on, so only this switch can be what spares the key.
TEST(DocumentHistory, OffLeavesRecentDocs) {
    SeededRecentDocs recent;
    ASSERT_TRUE(recent.Planted());
    Scenario run("document_history_off");
    ASSERT_TRUE(run.Ready()) << run.Problem();
    ASSERT_TRUE(run.WriteIni(LocalIniAllOn({{"DocumentHistory", "0"}, {"SkipMessages", "1"}})));

    ASSERT_EQ(run.Run(kPromptMs), 0u);

    EXPECT_TRUE(recent.Intact());
}

}  // namespace
}  // namespace vw::e2e
