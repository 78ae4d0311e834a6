#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/sim_run.h"
#include "wash/frm_wash.h"

namespace vw {
namespace {

using test::kAllOff;

const Ctl kItemLabels[] = {
    Ctl::lblChkFindHistory,   Ctl::lblChkDocumentHistory, Ctl::lblChkRunHistory,
    Ctl::lblChkRecycleBin,    Ctl::lblChkMediaPlayer,     Ctl::lblChkTempFiles,
    Ctl::lblChkScanTempFiles, Ctl::lblChkMSOfficeTrack,   Ctl::lblChkIE,
    Ctl::lblCaption,          Ctl::lblChkNetscape};

class StartCleanTest : public ::testing::Test {
  protected:
    // The journal of the run alone, without the window's load.
    std::vector<std::string> Run() {
        frmWash form(m.sim.platform());
        m.sim.journal.clear();
        form.StartClean();
        value = form.ProgressValue();
        for (Ctl c : kItemLabels) visible.push_back(form.Visible(c));
        return m.sim.journal;
    }

    test::SimMachine m;
    float value = -1;
    std::vector<bool> visible;
};

TEST_F(StartCleanTest, AllOffStepsElevenTimesInOrderAndReadsEachSwitchAtItsStep) {
    m.UseIni(kAllOff);
    const auto journal = Run();

    const char* keys[] = {
        "FindHistory", "DocumentHistory", "RunHistory",    "RecycleBin", "MediaPlayer",
        "TempFiles",   "ScanTempFiles",   "MSOfficeTrack", "IE",         "SkipAllCustomWashItems",
        "Netscape"};
    std::vector<std::string> expected;
    for (int i = 0; i < 11; ++i) {
        const std::string section = i == 9 ? "Wash Options" : "Standard Options";
        expected.push_back("read [" + section + "] " + keys[i]);
        // Value, bar colour (lblExit's white), done-marker, then the yield.
        expected.push_back("progress ProgressBar1 " + std::to_string(9.0f * (i + 1)));
        expected.push_back("colour ProgressBar1 16777215");
        expected.push_back(std::string("show ") + WashWindowLayout()[Index(kItemLabels[i])].name);
        expected.push_back("doevents");
    }
    expected.push_back("read [Standard Options] RunHistory");  // SkipMessages is not read
    EXPECT_EQ(journal, expected);
    EXPECT_FLOAT_EQ(value, 99.0f);
    EXPECT_EQ(visible, std::vector<bool>(11, true));
    EXPECT_EQ(m.sim.ui.windows.at(0)->barColour, 0xFFFFFFu);
    EXPECT_TRUE(m.sim.ui.boxes.empty());
}

TEST_F(StartCleanTest, DocumentHistoryIsClearedByOneShellCallWithinItsStep) {
    m.UseIni("[Standard Options]\r\nDocumentHistory=1\r\n");
    const auto journal = Run();
    const auto at = std::find(journal.begin(), journal.end(), "clear recent documents");
    ASSERT_NE(at, journal.end());
    EXPECT_EQ(*(at - 1), "read [Standard Options] DocumentHistory");
    EXPECT_EQ(*(at + 1), "progress ProgressBar1 " + std::to_string(18.0f));
    EXPECT_EQ(m.JournalCount("clear recent documents"), 1u);
}

TEST_F(StartCleanTest, SwitchIsOnOnlyForExactlyOne) {
    for (const char* value : {"01", "yes", "true", "-1", "1x"}) {
        m.UseIni(std::string("[Standard Options]\r\nDocumentHistory=") + value + "\r\n");
        Run();
    }
    EXPECT_EQ(m.JournalCount("clear recent documents"), 0u);
}

TEST_F(StartCleanTest, ClosingMessageFollowsRunHistoryAndSkipMessages) {
    struct Case {
        const char* ini;
        bool box;
        bool skipRead;
    } cases[] = {
        {"[Standard Options]\r\nRunHistory=1\r\n", true, true},
        {"[Standard Options]\r\nRunHistory=1\r\n[Wash Options]\r\nSkipMessages=0\r\n", true, true},
        {"[Standard Options]\r\nRunHistory=1\r\n[Wash Options]\r\nSkipMessages=1\r\n", false, true},
        {"[Standard Options]\r\nRunHistory=0\r\n[Wash Options]\r\nSkipMessages=0\r\n", false,
         false},
    };
    for (const auto& c : cases) {
        test::SimMachine fresh;
        fresh.UseIni(c.ini);
        frmWash form(fresh.sim.platform());
        form.StartClean();
        ASSERT_EQ(fresh.sim.ui.boxes.size(), c.box ? 1u : 0u) << c.ini;
        EXPECT_EQ(fresh.Journaled("read [Wash Options] SkipMessages"), c.skipRead) << c.ini;
        EXPECT_EQ(fresh.JournalCount("read [Standard Options] RunHistory"), 2u);
        if (!c.box) continue;
        const auto& box = fresh.sim.ui.boxes[0];
        EXPECT_EQ(box.text, "Please logoff the machine for effect in Run History.");
        EXPECT_EQ(box.caption, "Vantrix");
        EXPECT_EQ(box.type, mb::kOk | mb::kIconInformation);
        // The box comes last, after the Netscape step.
        EXPECT_EQ(fresh.sim.journal.back(), "box Vantrix: " + box.text);
    }
}

TEST_F(StartCleanTest, ClosingMessageFollowsRunHistoryAsReadAtTheEnd) {
    m.UseIni("[Standard Options]\r\nRunHistory=1\r\n");
    int steps = 0;
    m.sim.ui.onDoEvents = [&] {
        if (++steps == 3)
            m.sim.files.AddFile(m.IniFile(), "[Standard Options]\r\nRunHistory=0\r\n");
    };
    Run();
    EXPECT_TRUE(m.sim.ui.boxes.empty());
}

// A Scandisk fragment held open by another program cannot be deleted, and
// that washer has no error handling of its own.
TEST_F(StartCleanTest, FailureThatLeavesAWasherEndsTheRunAtItsStep) {
    m.UseIni("[Standard Options]\r\nRunHistory=1\r\nScanTempFiles=1\r\nNetscape=1\r\n");
    m.sim.files.AddFile("C:\\FILE0000.CHK");
    m.sim.files.HoldOpen("C:\\FILE0000.CHK");
    frmWash form(m.sim.platform());
    m.sim.journal.clear();
    try {
        form.StartClean();
        ADD_FAILURE() << "the failure did not leave the run";
    } catch (const RunError& e) {
        EXPECT_EQ(e.Number(), errnum::kPermissionDenied);
    }
    EXPECT_FLOAT_EQ(form.ProgressValue(), 54.0f);
    EXPECT_TRUE(form.Visible(Ctl::lblChkTempFiles));
    EXPECT_FALSE(form.Visible(Ctl::lblChkScanTempFiles));
    EXPECT_FALSE(form.Visible(Ctl::lblChkNetscape));
    EXPECT_FALSE(m.Journaled("read [Standard Options] MSOfficeTrack"));
    EXPECT_EQ(m.JournalCount("read [Standard Options] RunHistory"), 1u);
    EXPECT_TRUE(m.sim.ui.boxes.empty());
}

TEST_F(StartCleanTest, WindowIsLoadedWithItsSizeValuesAndDriveList) {
    frmWash form(m.sim.platform());
    const auto& window = *m.sim.ui.windows.at(0);
    EXPECT_EQ(window.sizeTwips, std::make_pair(4590, 2760));
    EXPECT_EQ(form.DriveList(), m.sim.ui.drives);
    for (Ctl c : kItemLabels) EXPECT_EQ(form.Visible(c), c == Ctl::lblCaption);
    EXPECT_FLOAT_EQ(form.ProgressValue(), 0.0f);
    EXPECT_FLOAT_EQ(form.ProgressMax(), 100.0f);
}

}  // namespace
}  // namespace vw
