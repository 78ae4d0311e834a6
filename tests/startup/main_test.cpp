#include "startup/main.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/sim_run.h"

namespace vw {
namespace {

class MainTest : public ::testing::Test {
  protected:
    void WriteIni(const std::string& text, std::uint32_t attributes = attr::kArchive) {
        m.sim.files.AddFile(m.IniFile(), text, attributes);
    }
    test::SimMachine m;
};

TEST_F(MainTest, FindsLocalIniBesideTheProgramAndRunsWithIt) {
    WriteIni("[Standard Options]\r\nRunHistory=1\r\n");
    Main(m.sim.platform());
    EXPECT_EQ(IniPath, "C:\\Program Files\\Vantrix\\Local.Ini");
    EXPECT_EQ(m.sim.ui.boxes.size(), 1u);
    ASSERT_EQ(m.sim.ui.windows.size(), 1u);
    EXPECT_FLOAT_EQ(m.sim.ui.windows[0]->progress, 99.0f);
    EXPECT_EQ(m.sim.journal.back(), "unload");  // after the closing box
}

TEST_F(MainTest, AnotherInstanceRunningTouchesNothing) {
    WriteIni("[Standard Options]\r\nRunHistory=1\r\nDocumentHistory=1\r\n");
    m.sim.process.anotherInstance = true;
    Main(m.sim.platform());
    EXPECT_TRUE(m.sim.journal.empty());
    EXPECT_TRUE(m.sim.ui.windows.empty());
    EXPECT_TRUE(IniPath.empty());
}

TEST_F(MainTest, HiddenSystemOrFolderLocalIniCountsAsMissing) {
    for (std::uint32_t attributes : {attr::kHidden, attr::kSystem, attr::kDirectory}) {
        test::SimMachine fresh;
        if (attributes == attr::kDirectory) {
            fresh.sim.files.AddFolder(fresh.IniFile());
        } else {
            fresh.sim.files.AddFile(fresh.IniFile(), "[Standard Options]\r\nRunHistory=1\r\n",
                                    attributes);
        }
        Main(fresh.sim.platform());
        EXPECT_TRUE(IniPath.empty()) << attributes;
        EXPECT_TRUE(fresh.sim.ui.boxes.empty()) << attributes;
        // Every read is empty: all steps made, none acted.
        EXPECT_FLOAT_EQ(fresh.sim.ui.windows.at(0)->progress, 99.0f);
    }
}

TEST_F(MainTest, ReadOnlyLocalIniIsFound) {
    WriteIni("[Standard Options]\r\nRunHistory=1\r\n", attr::kReadOnly | attr::kArchive);
    Main(m.sim.platform());
    EXPECT_EQ(m.sim.ui.boxes.size(), 1u);
}

TEST_F(MainTest, ProgramInADriveRootUsesThePathAsFormed) {
    m.sim.process.programFolder = "C:\\";
    m.sim.files.AddFolder("C:\\Custom");
    WriteIni("[Standard Options]\r\nRunHistory=1\r\n");
    Main(m.sim.platform());
    EXPECT_EQ(IniPath, "C:\\\\Local.Ini");
    EXPECT_EQ(m.sim.ui.boxes.size(), 1u);
}

// A folder name outside every ANSI code page, and a Local.Ini saved as UTF-8
// with its mark: both still switch the run.
TEST_F(MainTest, ProgramInANonLatinFolderReadsItsUtf8LocalIni) {
    m.sim.process.programFolder = "C:\\Программы\\日本";
    m.sim.files.AddFolder("C:\\Программы\\日本\\Custom");
    WriteIni("\xEF\xBB\xBF[Standard Options]\r\nRunHistory=1\r\n");
    Main(m.sim.platform());
    EXPECT_EQ(IniPath, "C:\\Программы\\日本\\Local.Ini");
    EXPECT_EQ(m.sim.ui.boxes.size(), 1u);
}

TEST_F(MainTest, FailureThatEndsTheRunIsAbsorbedAndTheWindowUnloaded) {
    // A Scandisk fragment another program holds open.
    WriteIni("[Standard Options]\r\nScanTempFiles=1\r\nRunHistory=1\r\n");
    m.sim.files.AddFile("C:\\FILE0000.CHK");
    m.sim.files.HoldOpen("C:\\FILE0000.CHK");
    Main(m.sim.platform());
    ASSERT_EQ(m.sim.ui.windows.size(), 1u);
    EXPECT_FLOAT_EQ(m.sim.ui.windows[0]->progress, 54.0f);
    EXPECT_EQ(m.sim.journal.back(), "unload");
    EXPECT_TRUE(m.sim.ui.boxes.empty());
}

TEST_F(MainTest, WindowThatCannotBeCreatedEndsTheProgramQuietly) {
    WriteIni("[Standard Options]\r\nDocumentHistory=1\r\n");
    m.sim.faults.FailOn("CreateHiddenWindow", errnum::kOutOfMemory);
    Main(m.sim.platform());
    EXPECT_TRUE(m.sim.ui.windows.empty());
    EXPECT_EQ(m.JournalCount("read"), 0u);
    EXPECT_EQ(m.JournalCount("clear recent documents"), 0u);
}

// A bug, not a run-time failure: no statement may skip it and go on, and an
// unattended program must still end without a crash dialog.
TEST_F(MainTest, FaultThatIsNoRunTimeFailureEndsTheProgramQuietly) {
    struct BrokenShell : Shell {
        void ClearRecentDocuments() override {}
        long EmptyRecycleBin(const std::string&, std::uint32_t) override {
            throw std::logic_error("bug");
        }
    } broken;
    // The Recycle Bin washer resumes after run-time failures; this is none.
    WriteIni("[Standard Options]\r\nDocumentHistory=1\r\nRunHistory=1\r\nRecycleBin=1\r\n");
    Platform p = m.sim.platform();
    Platform withBrokenShell{p.profile, broken,     p.process,  p.files,
                             p.ui,      p.registry, p.urlCache, p.urlHistory};
    Main(withBrokenShell);
    ASSERT_EQ(m.sim.ui.windows.size(), 1u);
    EXPECT_FLOAT_EQ(m.sim.ui.windows[0]->progress, 27.0f);
    EXPECT_EQ(m.sim.journal.back(), "unload");
    EXPECT_TRUE(m.sim.ui.boxes.empty());
}

TEST(ResumeNextTest, DropsRunTimeFailuresOnly) {
    int after = 0;
    ResumeNext([] { throw RunError(errnum::kPathFileAccessError, "Path/File access error"); });
    ++after;
    EXPECT_THROW(ResumeNext([] { throw std::logic_error("bug"); }), std::logic_error);
    EXPECT_EQ(after, 1);
}

}  // namespace
}  // namespace vw
