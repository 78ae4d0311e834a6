#include "preview/report.h"

#include <gtest/gtest.h>

#include <sstream>

#include "wash/frm_wash.h"

namespace vw {
namespace {

using namespace preview;

// Two items' worth of changes, the second ending the run.
PreviewResult Sample() {
    PreviewResult r;
    r.switchedOn = std::vector<bool>(11, false);
    r.switchedOn[5] = r.switchedOn[6] = true;
    for (int i = 0; i < 5; ++i) r.log.ControlShown(Index(frmWash::RunSteps()[i].label));
    r.log.Record(action::kSetAttributes, "C:\\T\\d\\x.tmp").attributes = 0;
    r.log.Record(action::kDeleteFile, "C:\\T\\d\\x.tmp", 100);
    r.log.Record(action::kDeleteFile, "C:\\T\\d\\e\\y.tmp", 20);
    r.log.Record(action::kDeleteFolder, "C:\\T\\d\\e");
    r.log.Record(action::kDeleteFolder, "C:\\T\\d");
    r.log.Record(action::kDeleteFile, "C:\\T\\z.tmp", 3);
    r.log.ControlShown(Index(frmWash::RunSteps()[5].label));
    r.log.RecordBox("Access denied to delete registry key.", "Access Denied", 0x10);
    r.ended = RunError(70, "Permission denied");
    r.endStep = 7;
    return r;
}

TEST(ReportTest, TextSumsAFoldersFilesIntoItsLineAndTellsTheEnd) {
    std::ostringstream out;
    WriteTextReport(Sample(), out);
    const std::string text = out.str();
    for (const char* line :
         {"6. Temporary Files Directory: on\n",
          "    delete folder  C:\\T\\d (2 files, 120 bytes)\n",
          "    delete file  C:\\T\\z.tmp (3 bytes)\n", "    in all: 3 files, 123 bytes\n",
          "The run: ends at step 7, Scandisk Temp Files: Permission denied (70)\n",
          "8. MS-Office Tracks: off, not reached\n", "    not reached: 11. Netscape\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nin:\n" << text;
    EXPECT_EQ(text.find("x.tmp"), std::string::npos) << "a file of a removed folder listed";
    EXPECT_EQ(ItemName(1) + "|" + ItemName(12), "Windows Find/Search History|end of run");
}

}  // namespace
}  // namespace vw
