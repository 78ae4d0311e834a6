#include "preview/preview_run.h"

#include <gtest/gtest.h>

#include "machine_state.h"
#include "startup/main.h"
#include "support/sim_run.h"

namespace vw {
namespace {

const HKey kHkcu = hkey::kCurrentUser;
const std::string kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::string kTemp = "C:\\Users\\sim\\Temp";

const char* kEverything =
    "[Standard Options]\r\nFindHistory=1\r\nDocumentHistory=1\r\nRunHistory=1\r\n"
    "RecycleBin=1\r\nMediaPlayer=1\r\nTempFiles=1\r\nScanTempFiles=1\r\nMSOfficeTrack=1\r\n"
    "IE=1\r\nNetscape=1\r\n[IEOptions]\r\nTempIEFiles=1\r\nCookies=1\r\nDownloadDir=1\r\n"
    "CleanHistory=1\r\nIEConrolPanel=1\r\n[MSOffice]\r\nMSWord=1\r\nMSAccess=1\r\n"
    "[Netscape Options]\r\nCache=1\r\nCookies=1\r\nClean=1\r\nMailTrash=1\r\n";

// A machine with traces for every item, some of which the wash cannot take.
void Seed(test::SimMachine& m) {
    auto& reg = m.sim.registry;
    auto& fs = m.sim.files;
    reg.SetString(kHkcu, kExplorer, "Doc Find Spec MRU", "x");
    reg.SetString(kHkcu, kExplorer, "Canary", "stays");
    reg.AddKey(kHkcu, "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{A}\\Deep");
    reg.AddKey(kHkcu, "Software\\Microsoft\\Search Assistant\\ACMru\\Denied\\Child");
    reg.DenyAll(kHkcu, "Software\\Microsoft\\Search Assistant\\ACMru\\Denied");
    reg.SetString(kHkcu, kExplorer + "\\RunMRU", "MRUList", "ab");
    reg.SetString(kHkcu, kExplorer + "\\RunMRU", "a", "cmd");
    reg.SetString(kHkcu, kExplorer + "\\RunMRU", "b", "calc");
    reg.SetString(kHkcu, kExplorer + "\\RunMRU", "c", "not listed");
    const std::string player = "Software\\Microsoft\\MediaPlayer\\Player\\";
    reg.SetString(kHkcu, player + "RecentURLList", "URL0", "u");
    reg.SetString(kHkcu, player + "RecentFileList", "File0", "f");
    const std::string access = "Software\\Microsoft\\Office\\9.0\\Access\\Settings";
    for (const char* v : {"MRU1", "Other", "MRU2"}) reg.SetString(kHkcu, access, v, "x");
    reg.AddKey(kHkcu, "Software\\Microsoft\\Office\\8.0\\Word\\Data\\Sub");
    reg.RefuseDelete(kHkcu, "Software\\Microsoft\\Office\\8.0\\Word\\Data\\Sub");
    reg.SetString(kHkcu, "Software\\Microsoft\\Internet Explorer\\TypedURLs", "url1", "a");
    reg.SetString(kHkcu, kExplorer + "\\Shell Folders", "AppData", "C:\\Users\\sim\\AppData");
    reg.SetString(kHkcu, kExplorer + "\\Shell Folders", "Cookies", "C:\\Users\\sim\\Cookies");
    reg.SetString(hkey::kLocalMachine,
                  "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", "ActiveXCache",
                  "C:\\ActiveX");
    reg.AddKey(hkey::kLocalMachine,
               "SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units\\{X}\\Y");
    reg.SetString(kHkcu, "Software\\Netscape\\Netscape Navigator\\Main", "Install Directory",
                  "C:\\Netscape\\Program");
    reg.SetString(kHkcu, "Software\\Netscape\\Netscape Navigator\\biff", "CurrentUser", "me");
    reg.SetString(kHkcu, "Software\\Netscape\\Netscape Navigator\\URL History", "URL_1", "x");

    fs.tempPath = kTemp + "\\";
    fs.AddFile(kTemp + "\\a.tmp", "abc");
    fs.AddFile(kTemp + "\\ro.tmp", "r", attr::kReadOnly);
    fs.AddFile(kTemp + "\\held.tmp", "h");
    fs.HoldOpen(kTemp + "\\held.tmp");
    fs.AddFile(kTemp + "\\nest\\deeper\\f.tmp", "ffff", attr::kReadOnly);
    fs.AddFile(kTemp + "\\busy\\held.tmp");
    fs.HoldOpen(kTemp + "\\busy\\held.tmp");
    fs.AddFile("C:\\x.chk", "chk");
    fs.AddFile("C:\\FOUND.000\\FILE0000.CHK", "12");
    fs.AddFile("C:\\Users\\sim\\AppData\\Microsoft\\Office\\Recent\\doc.lnk");
    fs.AddFile("C:\\Users\\sim\\Cookies\\me@site.txt", "cookie");
    fs.AddFile("C:\\ActiveX\\ctl.ocx", "ocx");
    fs.AddFile(m.sim.process.programFolder + "\\vantrixie.exe");
    fs.AddFile(m.sim.process.programFolder + "\\Custom\\list.txt",
               "K,HKEY_CURRENT_USER\\Software\\Custom\\Tree,\r\n"
               "V,HKEY_CURRENT_USER\\Software\\Custom,Val\r\n"
               "F,C:\\Data\\*.log,\r\n");
    reg.AddKey(kHkcu, "Software\\Custom\\Tree\\Leaf");
    reg.SetString(kHkcu, "Software\\Custom", "Val", "v");
    fs.AddFile("C:\\Data\\a.log", "log", attr::kHidden);
    fs.AddFile("C:\\Data\\keep.txt");
    fs.AddFile("C:\\Netscape\\Users\\me\\Cache\\c1", "c");
    fs.AddFile("C:\\Netscape\\Users\\me\\cookies.txt", "cookies");
    fs.AddFile("C:\\Netscape\\Users\\me\\mail\\Inbox\\trash.snm");
    m.sim.urlCache.entries["http://a/"] = {};
    m.sim.urlCache.entries["http://b/"] = {};
    m.sim.urlCache.entries["Cookie:me@a/"] = {cacheentry::kCookie};
    m.sim.shell.recycled = 2;
    m.UseIni(kEverything);
    IniPath.clear();  // the run finds it itself
}

class PreviewRunTest : public ::testing::Test {
  protected:
    PreviewRunTest() { Seed(m); }

    static bool IsChange(const std::string& line) {
        for (const char* p : {"delete ", "rmdir ", "setattr ", "mkdir ", "open ", "write ",
                              "start ", "empty recycle", "clear recent", "history clear"}) {
            if (line.rfind(p, 0) == 0) return true;
        }
        return false;
    }

    test::SimMachine m;
};

// The preview alone changes nothing; the wash then makes exactly the changes
// it listed, and shows the boxes it foretold.
TEST_F(PreviewRunTest, ForetellsTheWashAndChangesNothing) {
    const test::MachineState before = test::ReadState(m.sim);
    const std::size_t journaled = m.sim.journal.size();
    const preview::PreviewResult result = preview::RunPreview(m.sim.platform());

    EXPECT_FALSE(result.ended);
    EXPECT_TRUE(test::ReadState(m.sim) == before) << "the preview changed the machine";
    for (std::size_t i = journaled; i < m.sim.journal.size(); ++i) {
        EXPECT_FALSE(IsChange(m.sim.journal[i])) << m.sim.journal[i];
    }
    EXPECT_TRUE(m.sim.ui.boxes.empty());

    const test::MachineState expected = test::Applied(before, result.log.Changes());
    EXPECT_FALSE(WashOnce(m.sim.platform()));
    EXPECT_TRUE(test::ReadState(m.sim) == expected) << "the preview foretold other changes";
    ASSERT_EQ(result.log.Boxes().size(), m.sim.ui.boxes.size());
    for (std::size_t i = 0; i < m.sim.ui.boxes.size(); ++i) {
        EXPECT_EQ(result.log.Boxes()[i].text, m.sim.ui.boxes[i].text);
    }
    EXPECT_EQ(m.JournalCount("start "), 1u);
    EXPECT_EQ(result.switchedOn, std::vector<bool>(11, true));
}

}  // namespace
}  // namespace vw
