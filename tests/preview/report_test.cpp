#include "preview/report.h"

#include <gtest/gtest.h>

#include <sstream>

#include "wash/frm_wash.h"

namespace vw {
namespace {

using namespace preview;

// Two items' worth of changes, the second ending the run; the last item on.
PreviewResult Sample() {
    PreviewResult r;
    r.switchedOn = std::vector<bool>(11, false);
    r.switchedOn[5] = r.switchedOn[6] = r.switchedOn[10] = true;
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
    // Each item's own changes under it, the run's end, what it leaves.
    const std::string expected = R"(What a wash would do now (nothing has been changed):
1. Windows Find/Search History: off
2. Document History: off
3. Windows Run History: off
4. Recycle Bin: off
5. Windows Media Player: off
6. Temporary Files Directory: on
    delete folder  C:\T\d (2 files, 120 bytes)
    delete file  C:\T\z.tmp (3 bytes)
    in all: 3 files, 123 bytes
    and 1 attribute change before deletion
7. Scandisk Temp Files: on
8. MS-Office Tracks: off, not reached
9. Internet Explorer: off, not reached
10. Custom Wash Items: off, not reached
11. Netscape: on, not reached
Boxes the run would show:
    in step 7, Scandisk Temp Files: "Access denied to delete registry key." (Access Denied)
The run: ends at step 7, Scandisk Temp Files: Permission denied (70)
    not reached: 8. MS-Office Tracks
    not reached: 9. Internet Explorer
    not reached: 10. Custom Wash Items
    not reached: 11. Netscape
)";
    EXPECT_EQ(text.substr(0, expected.size()), expected);
    EXPECT_EQ(ItemName(1) + "|" + ItemName(12), "Windows Find/Search History|end of run");
}

}  // namespace
}  // namespace vw
