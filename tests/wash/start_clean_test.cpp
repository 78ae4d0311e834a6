// Where the order of calls is the behaviour: each switch is read at its own
// step, never cached, and each step ends with the bar, the done-marker and a
// yield.

#include <gtest/gtest.h>

#include <sstream>

#include "support/sim_run.h"
#include "wash/frm_wash.h"

namespace vw {
namespace {

const char* const kJournal =
#include "wash/start_clean.txt"
    ;

TEST(StartCleanTest, ReadsEachSwitchAtItsStepAndStepsTheBarAfterIt) {
    test::SimMachine m;
    std::string ini = test::kAllOff;
    m.UseIni(ini.replace(ini.find("DocumentHistory=0"), 17, "DocumentHistory=1"));
    frmWash form(m.sim.platform());
    // Loaded at its own size, every done-marker but the caption hidden until
    // its step.
    EXPECT_EQ(m.sim.ui.windows.at(0)->sizeTwips,
              std::make_pair(kWashWindowWidth, kWashWindowHeight));
    const auto markers = Index(Ctl::lblChkNetscape) + 1;
    for (std::size_t c = 0; c < markers; ++c) EXPECT_EQ(form.Visible(static_cast<Ctl>(c)), c == 0);
    m.sim.journal.clear();
    form.StartClean();
    for (std::size_t c = 0; c < markers; ++c) EXPECT_TRUE(form.Visible(static_cast<Ctl>(c)));

    std::istringstream in(kJournal);
    std::vector<std::string> expected;
    for (std::string call; std::getline(in, call);)
        if (!call.empty()) expected.push_back(call);
    EXPECT_EQ(m.sim.journal, expected);
}

TEST(StartCleanTest, ClosingBoxFollowsRunHistoryAsReadAtTheEnd) {
    test::SimMachine m;
    m.UseIni("[Standard Options]\r\nRunHistory=1\r\n");
    int steps = 0;
    m.sim.ui.onDoEvents = [&] {
        if (++steps == 3)
            m.sim.files.AddFile(m.IniFile(), "[Standard Options]\r\nRunHistory=0\r\n");
    };
    frmWash(m.sim.platform()).StartClean();
    EXPECT_TRUE(m.sim.ui.boxes.empty());
}

}  // namespace
}  // namespace vw
