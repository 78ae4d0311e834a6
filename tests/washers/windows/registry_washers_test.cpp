// The Recycle Bin leaves no state the table can see: its calls are the
// behaviour.

#include <gtest/gtest.h>

#include "support/sim_run.h"
#include "wash/frm_wash.h"

namespace vw {
namespace {

TEST(RecycleBinTest, EveryDriveSilentlyInTheRunAndTheRootAsGiven) {
    test::SimMachine m;
    m.sim.shell.recycled = 3;
    m.UseIni("[Standard Options]\r\nRecycleBin=1\r\n");
    frmWash form(m.sim.platform());
    form.StartClean();
    EXPECT_EQ(m.JournalCount("empty recycle bin \"\" 7"), 1u);
    EXPECT_EQ(m.sim.shell.recycled, 0);

    // The root as the shell needs it, then each flag alone.
    const std::pair<const char*, const char*> roots[] = {{"D", "D:\\"},      {"D:", "D:\\"},
                                                         {"Dxyz", "D:\\"},   {"D:\\", "D:\\"},
                                                         {"D:\\R", "D:\\R"}, {"", ""}};
    for (const auto& [given, passed] : roots) {
        form.WashRecycleBin(given, true, false, false);
        EXPECT_EQ(m.sim.journal.back(), "empty recycle bin \"" + std::string(passed) + "\" 1");
    }
    form.WashRecycleBin("", false, true, false);
    form.WashRecycleBin("", false, false, true);
    EXPECT_EQ(m.JournalCount("empty recycle bin \"\" 2"), 1u);
    EXPECT_EQ(m.JournalCount("empty recycle bin \"\" 4"), 1u);
}

}  // namespace
}  // namespace vw
