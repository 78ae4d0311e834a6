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
        expected.push_back("progress " + std::to_string(9 * (i + 1)));
        expected.push_back("message 0x409 to ProgressBar1 wParam 0 lParam 0xffffff");
        expected.push_back(std::string("show ") + WashWindowLayout()[Index(kItemLabels[i])].name);
        expected.push_back("doevents");
    }
    expected.push_back("read [Standard Options] RunHistory");  // SkipMessages is not read
    EXPECT_EQ(journal, expected);
    EXPECT_FLOAT_EQ(value, 99.0f);
    EXPECT_EQ(visible, std::vector<bool>(11, true));
    EXPECT_TRUE(m.sim.ui.boxes.empty());
}

TEST_F(StartCleanTest, DocumentHistoryIsClearedByOneShellCallWithinItsStep) {
    m.UseIni("[Standard Options]\r\nDocumentHistory=1\r\n");
    const auto journal = Run();
    const auto at = std::find(journal.begin(), journal.end(), "SHAddToRecentDocs 0 null");
    ASSERT_NE(at, journal.end());
    EXPECT_EQ(*(at - 1), "read [Standard Options] DocumentHistory");
    EXPECT_EQ(*(at + 1), "progress 18");
    EXPECT_EQ(m.JournalCount("SHAddToRecentDocs"), 1u);
}

TEST_F(StartCleanTest, SwitchIsOnOnlyForExactlyOne) {
    for (const char* value : {"01", "yes", "true", "-1", "1x"}) {
        m.UseIni(std::string("[Standard Options]\r\nDocumentHistory=") + value + "\r\n");
        Run();
    }
    EXPECT_EQ(m.JournalCount("SHAddToRecentDocs"), 0u);
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

TEST_F(StartCleanTest, FailureInTheDocumentHistoryStepEndsTheRunThere) {
    m.UseIni("[Standard Options]\r\nDocumentHistory=1\r\nRunHistory=1\r\n");
    m.sim.faults.FailOn("SHAddToRecentDocs", errnum::kPermissionDenied);
    frmWash form(m.sim.platform());
    EXPECT_THROW(form.StartClean(), RunError);
    EXPECT_FLOAT_EQ(form.ProgressValue(), 9.0f);
    EXPECT_TRUE(form.Visible(Ctl::lblChkFindHistory));
    EXPECT_FALSE(form.Visible(Ctl::lblChkDocumentHistory));
    EXPECT_FALSE(form.Visible(Ctl::lblChkNetscape));
    EXPECT_FALSE(m.Journaled("read [Standard Options] RunHistory"));
    EXPECT_TRUE(m.sim.ui.boxes.empty());
}

TEST_F(StartCleanTest, FailureInAProgressStepEndsTheRunBeforeItsLabel) {
    m.UseIni("[Standard Options]\r\nRunHistory=1\r\n");
    m.sim.faults.FailOn("SendMessageA", errnum::kOutOfMemory, 5);
    frmWash form(m.sim.platform());
    EXPECT_THROW(form.StartClean(), RunError);
    EXPECT_FLOAT_EQ(form.ProgressValue(), 45.0f);
    EXPECT_TRUE(form.Visible(Ctl::lblChkRecycleBin));
    EXPECT_FALSE(form.Visible(Ctl::lblChkMediaPlayer));
    EXPECT_TRUE(m.sim.ui.boxes.empty());
}

TEST_F(StartCleanTest, WindowIsLoadedHiddenWithItsSizeAndDriveList) {
    frmWash form(m.sim.platform());
    const auto& window = *m.sim.ui.windows.at(0);
    EXPECT_EQ(window.widthTwips, 4590);
    EXPECT_EQ(window.heightTwips, 2760);
    EXPECT_FALSE(window.shown);
    EXPECT_EQ(form.DriveList(), m.sim.ui.drives);
    for (Ctl c : kItemLabels) EXPECT_EQ(form.Visible(c), c == Ctl::lblCaption);
    EXPECT_FLOAT_EQ(form.ProgressValue(), 0.0f);
    EXPECT_FLOAT_EQ(form.ProgressMax(), 100.0f);
}

}  // namespace
}  // namespace vw
