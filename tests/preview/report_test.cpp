#include "preview/report.h"

#include <gtest/gtest.h>

#include <sstream>

#include "wash/frm_wash.h"

namespace vw {
namespace {

using namespace preview;

// Three items' worth of changes, the last ending the run; the last item on.
PreviewResult Sample() {
    PreviewResult r;
    r.switchedOn = std::vector<bool>(11, false);
    r.switchedOn[1] = r.switchedOn[5] = r.switchedOn[6] = r.switchedOn[10] = true;
    r.log.ControlShown(Index(frmWash::RunSteps()[0].label));
    r.log.Record(action::kClearDocumentHistory, "recent documents");
    for (int i = 1; i < 5; ++i) r.log.ControlShown(Index(frmWash::RunSteps()[i].label));
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

// A run that goes through: one byte, a file of unknown size in a folder, one
// cache entry beside them and one alone, a change in the last item and one
// after it.
PreviewResult Complete() {
    PreviewResult r;
    r.switchedOn = std::vector<bool>(11, true);
    for (int i = 0; i < 7; ++i) r.log.ControlShown(Index(frmWash::RunSteps()[i].label));
    r.log.Record(action::kDeleteFile, "C:\\W\\one.txt", 1);
    r.log.Record(action::kDeleteFile, "C:\\W\\f\\unknown.txt");
    r.log.Record(action::kDeleteFolder, "C:\\W\\f");
    r.log.Record(action::kDeleteCacheEntry, "http://a.test/");
    r.log.ControlShown(Index(frmWash::RunSteps()[7].label));
    r.log.Record(action::kDeleteCacheEntry, "http://b.test/");
    for (int i = 8; i < 10; ++i) r.log.ControlShown(Index(frmWash::RunSteps()[i].label));
    r.log.Record(action::kDeleteFile, "C:\\N\\cookies.txt", 2);
    r.log.ControlShown(Index(frmWash::RunSteps()[10].label));
    r.log.Record(action::kStartProgram, "C:\\P\\later.exe");
    return r;
}

// Each report of the samples, whole.
TEST(ReportTest, BothReportsOfTheSample) {
    const char* const expected[] = {
#include "preview/sample_reports.txt"
    };
    std::ostringstream text, json, complete;
    WriteTextReport(Complete(), complete);
    EXPECT_EQ(complete.str(), expected[2]);
    WriteTextReport(Sample(), text);
    WriteJsonReport(Sample(), json);
    EXPECT_EQ(text.str(), expected[0]);
    EXPECT_EQ(json.str(), expected[1]);
    EXPECT_EQ(ItemName(1) + "|" + ItemName(12), "Windows Find/Search History|end of run");
}

}  // namespace
}  // namespace vw
