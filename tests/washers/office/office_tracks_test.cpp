#include <gtest/gtest.h>

#include "support/sim_run.h"
#include "wash/frm_wash.h"

namespace vw {
namespace {

const HKey kCu = hkey::kCurrentUser;
const std::string kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kRecent = "C:\\Users\\u\\AppData\\Microsoft\\Office\\Recent";
const std::string kPhoto = "Software\\Microsoft\\Photo Editor\\3.0\\Microsoft Photo Editor";

// Every key the switches name, below a version root.
const char* const kWordKeys[] = {"\\Word\\Data", "\\Common\\Open Find\\Microsoft Word\\Settings"};
const char* const kOtherKeys[] = {"\\PowerPoint\\Recent File List",
                                  "\\PowerPoint\\Recent Folder List",
                                  "\\PowerPoint\\Recent Typeface",
                                  "\\Excel\\Recent Files",
                                  "\\Excel\\Recent File List",
                                  "\\Common\\Open Find\\Microsoft Excel\\Settings",
                                  "\\Common\\Open Find\\Microsoft Access\\Settings",
                                  "\\Common\\Open Find\\Microsoft Outlook\\Settings"};

class OfficeTracksTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reg.SetString(kCu, kShellFolders, "AppData", "C:\\Users\\u\\AppData");
        m.sim.files.AddFile(kRecent + "\\a.lnk");
        m.sim.files.AddFile(kRecent + "\\B.LNK");
        m.sim.files.AddFile(kRecent + "\\index.dat");
        for (const char* v : {"8.0", "9.0", "10.0"}) {
            const std::string root = std::string("Software\\Microsoft\\Office\\") + v;
            for (const char* k : kWordKeys) reg.SetString(kCu, root + k + "\\Sub", "v", "1");
            for (const char* k : kOtherKeys) reg.SetString(kCu, root + k + "\\Sub", "v", "1");
            for (const char* n : {"MRU1", "mru2", "LastMRU"}) {
                reg.SetString(kCu, root + "\\Access\\Settings", n, "x");
            }
            reg.SetString(kCu, root + "\\Word\\Options", "Canary", "1");
        }
        for (const char* n : {"Last File", "lastdir", "Zoom"}) reg.SetString(kCu, kPhoto, n, "x");
    }

    float Run(const std::string& switches) {
        return m.Run(
            "[Standard Options]\r\nMSOfficeTrack=1\r\nNetscape=1\r\n[Wash Options]\r\n"
            "SkipAllCustomWashItems=1\r\n[MSOffice]\r\n" +
            switches);
    }

    bool Key(const std::string& v, const char* k) {
        return reg.KeyExists(kCu, "Software\\Microsoft\\Office\\" + v + k);
    }

    test::SimMachine m;
    sim::SimRegistry& reg = m.sim.registry;
};

TEST_F(OfficeTracksTest, SwitchesOffLeaveOnlyTheShortcutsDeleted) {
    EXPECT_FLOAT_EQ(Run("MSWord=0\r\n"), 99.0f);
    EXPECT_FALSE(m.sim.files.Exists(kRecent + "\\a.lnk"));
    EXPECT_FALSE(m.sim.files.Exists(kRecent + "\\B.LNK"));
    EXPECT_TRUE(m.sim.files.Exists(kRecent + "\\index.dat"));
    for (const char* v : {"8.0", "9.0", "10.0"}) {
        for (const char* k : kWordKeys) EXPECT_TRUE(Key(v, k)) << v << k;
        for (const char* k : kOtherKeys) EXPECT_TRUE(Key(v, k)) << v << k;
    }
    EXPECT_EQ(reg.ValueNames(kCu, kPhoto).size(), 3u);
}

TEST_F(OfficeTracksTest, EverySwitchWashesAllThreeVersions) {
    Run("MSWord=1\r\nMSPPT=1\r\nMSExcel=1\r\nMSAccess=1\r\nMSOutlook=1\r\nMSPHEditor=1\r\n");
    for (const char* v : {"8.0", "9.0", "10.0"}) {
        for (const char* k : kWordKeys) EXPECT_FALSE(Key(v, k)) << v << k;
        for (const char* k : kOtherKeys) EXPECT_FALSE(Key(v, k)) << v << k;
        EXPECT_EQ(reg.ValueNames(
                      kCu, std::string("Software\\Microsoft\\Office\\") + v + "\\Access\\Settings"),
                  std::vector<std::string>{"LastMRU"});
        EXPECT_TRUE(Key(v, "\\Word\\Options"));
    }
    EXPECT_EQ(reg.ValueNames(kCu, kPhoto), std::vector<std::string>{"Zoom"});
}

TEST_F(OfficeTracksTest, EmptyAppDataDeletesNoShortcutAnywhere) {
    reg.SetString(kCu, kShellFolders, "AppData", "");
    m.sim.files.AddFile("C:\\Microsoft\\Office\\Recent\\canary.lnk");
    EXPECT_FLOAT_EQ(Run("MSWord=1\r\n"), 99.0f);
    EXPECT_TRUE(m.sim.files.Exists("C:\\Microsoft\\Office\\Recent\\canary.lnk"));
    EXPECT_TRUE(m.sim.files.Exists(kRecent + "\\a.lnk"));
    EXPECT_FALSE(Key("8.0", "\\Word\\Data"));
}

TEST_F(OfficeTracksTest, AShortcutThatCannotGoEndsTheRunBeforeTheRegistry) {
    m.sim.files.AddFile(kRecent + "\\a.lnk", "", attr::kReadOnly);
    // Steps 1 to 7 made their progress; the failure in step 8 ends the run.
    EXPECT_FLOAT_EQ(Run("MSWord=1\r\n"), 63.0f);
    EXPECT_TRUE(Key("8.0", "\\Word\\Data"));
    EXPECT_FALSE(m.Journaled("read [Standard Options] Netscape"));
}

}  // namespace
}  // namespace vw
