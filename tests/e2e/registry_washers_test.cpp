// The registry washers on Wine's real registry, and the Recycle Bin through
// the real shell, each with canaries beside every washed location.
#include "harness.h"
// Needs <windows.h>, which the harness brings.
#include <gtest/gtest.h>
#include <shellapi.h>

#include <filesystem>

namespace vw::e2e {
namespace {

const std::string kRunMru = kExplorer + "\\RunMRU";
const std::string kBars = "Software\\Microsoft\\Internet Explorer\\Explorer Bars";
const std::string kAcMru = "Software\\Microsoft\\Search Assistant\\ACMru";
const std::string kPlayer = "Software\\Microsoft\\MediaPlayer\\Player";
const std::string kOffice = "Software\\Microsoft\\Office\\";
const std::string kPhoto = "Software\\Microsoft\\Photo Editor\\3.0\\Microsoft Photo Editor";
const std::string kShellFolders = kExplorer + "\\Shell Folders";
const std::string kAppData = "C:\\e2e_appdata";
const std::string kRecent = kAppData + "\\Microsoft\\Office\\Recent";

class RegistryWashers : public ::testing::Test {
  protected:
    void TearDown() override {
        for (const std::string& key :
             {kRunMru, kBars, kAcMru, kPlayer, std::string("Software\\Microsoft\\Office"),
              std::string("Software\\Microsoft\\Photo Editor"), kExplorer + "\\Doc Find Spec MRU",
              std::string("Software\\Microsoft\\Search Assistant")}) {
            RemoveTree(kCu, key);
        }
        RegDeleteKeyValueA(kCu, kExplorer.c_str(), "Doc Find Spec MRU");
        RegDeleteKeyValueA(kCu, kExplorer.c_str(), "VantrixCanary");
        std::error_code ec;
        std::filesystem::remove_all(kAppData, ec);
    }
};

TEST_F(RegistryWashers, EachRemovesExactlyItsTracesAndCanariesSurvive) {
    // First: the canaries hold a Run history of their own, replaced here.
    Canaries canaries;
    bool seeded = SetString(kCu, kExplorer, "Doc Find Spec MRU", "*.doc") &&
                  SetString(kCu, kExplorer, "VantrixCanary", "keep") &&
                  SetString(kCu, kExplorer + "\\Doc Find Spec MRU", "a", "keep") &&
                  SetString(kCu, kBars + "\\{C4EE31F3}\\Deep\\Deeper", "v", "1") &&
                  SetString(kCu, kAcMru + "\\5603", "000", "secret") &&
                  SetString(kCu, "Software\\Microsoft\\Search Assistant\\Keep", "v", "1") &&
                  SetString(kCu, kRunMru, "MRUList", "dcba");
    for (const char* v : {"a", "b", "c", "d", "x"}) seeded &= SetString(kCu, kRunMru, v, "cmd\\1");
    for (int n : {0, 1, 2, 3, 4, 7}) {
        seeded &= SetString(kCu, kPlayer + "\\RecentURLList", "URL" + std::to_string(n), "u");
    }
    seeded &= SetString(kCu, kPlayer + "\\RecentFileList\\Sub", "File0", "f") &&
              SetString(kCu, kPlayer + "\\Settings", "Keep", "1");
    for (const char* v : {"8.0", "9.0", "10.0"}) {
        const std::string root = kOffice + v;
        for (const char* k :
             {"\\Word\\Data", "\\PowerPoint\\Recent File List", "\\Excel\\Recent Files",
              "\\Common\\Open Find\\Microsoft Outlook\\Settings"}) {
            seeded &= SetString(kCu, root + k + "\\Sub", "v", "1");
        }
        for (const char* n : {"MRU1", "mru2", "LastMRU"}) {
            seeded &= SetString(kCu, root + "\\Access\\Settings", n, "x");
        }
        seeded &= SetString(kCu, root + "\\Word\\Options", "Keep", "1");
    }
    for (const char* n : {"Last File", "lastdir", "Zoom"}) seeded &= SetString(kCu, kPhoto, n, "x");
    seeded &= SetString(kCu, kShellFolders, "AppData", kAppData);
    ASSERT_TRUE(seeded);
    Touch(kRecent + "\\report.doc.lnk");
    Touch(kRecent + "\\index.dat");

    Scenario run("registry_washers",
                 LocalIni(false, "FindHistory RunHistory MediaPlayer MSOfficeTrack", true) +
                     "[MSOffice]\r\nMSWord=1\r\nMSPPT=1\r\nMSExcel=1\r\nMSAccess=1\r\n"
                     "MSOutlook=1\r\nMSPHEditor=1\r\n");
    run.ExpectQuietEnd();

    EXPECT_FALSE(ValueExists(kCu, kExplorer, "Doc Find Spec MRU"));
    EXPECT_TRUE(ValueExists(kCu, kExplorer, "VantrixCanary"));
    EXPECT_TRUE(ValueExists(kCu, kExplorer + "\\Doc Find Spec MRU", "a"));
    EXPECT_FALSE(KeyExists(kCu, kBars));
    EXPECT_FALSE(KeyExists(kCu, kAcMru));
    EXPECT_TRUE(KeyExists(kCu, "Software\\Microsoft\\Search Assistant\\Keep"));
    EXPECT_EQ(ValueNames(kCu, kRunMru), std::vector<std::string>{"x"});
    EXPECT_EQ(ValueNames(kCu, kPlayer + "\\RecentURLList"), std::vector<std::string>{"URL7"});
    EXPECT_FALSE(KeyExists(kCu, kPlayer + "\\RecentFileList"));
    EXPECT_TRUE(KeyExists(kCu, kPlayer + "\\Settings"));
    for (const char* v : {"8.0", "9.0", "10.0"}) {
        const std::string root = kOffice + v;
        EXPECT_FALSE(KeyExists(kCu, root + "\\Word\\Data")) << v;
        EXPECT_FALSE(KeyExists(kCu, root + "\\PowerPoint\\Recent File List")) << v;
        EXPECT_FALSE(KeyExists(kCu, root + "\\Excel\\Recent Files")) << v;
        EXPECT_FALSE(KeyExists(kCu, root + "\\Common\\Open Find\\Microsoft Outlook\\Settings"));
        EXPECT_EQ(ValueNames(kCu, root + "\\Access\\Settings"),
                  std::vector<std::string>{"LastMRU"});
        EXPECT_TRUE(ValueExists(kCu, root + "\\Word\\Options", "Keep")) << v;
    }
    EXPECT_EQ(ValueNames(kCu, kPhoto), std::vector<std::string>{"Zoom"});
    EXPECT_FALSE(std::filesystem::exists(kRecent + "\\report.doc.lnk"));
    EXPECT_TRUE(std::filesystem::exists(kRecent + "\\index.dat"));
    // The canaries' Run history was washed by design; the rest must stay.
    const std::string damage = canaries.Damage();
    EXPECT_EQ(damage.find("VantrixCanary"), std::string::npos) << damage;
    EXPECT_EQ(damage.find("vantrix_canary"), std::string::npos) << damage;
    EXPECT_EQ(damage.find("RecentDocs"), std::string::npos) << damage;
}

TEST_F(RegistryWashers, MediaPlayerTouchesAtMost101Values) {
    for (int n = 0; n < 150; ++n) {
        ASSERT_TRUE(SetString(kCu, kPlayer + "\\RecentURLList", "URL" + std::to_string(n), "u"));
    }
    Scenario("media_player_150", LocalIni(false, "MediaPlayer")).ExpectQuietEnd();
    EXPECT_EQ(ValueNames(kCu, kPlayer + "\\RecentURLList").size(), 49u);
    EXPECT_TRUE(ValueExists(kCu, kPlayer + "\\RecentURLList", "URL101"));
}

TEST_F(RegistryWashers, KeyThatRefusesEverythingAsksOnceAndTheRunGoesOn) {
    ASSERT_TRUE(SetString(kCu, kBars + "\\Locked\\Inner", "v", "1") &&
                SetString(kCu, kBars + "\\Free\\Inner", "v", "1") &&
                SetString(kCu, kAcMru + "\\5603", "000", "secret") &&
                DenyAll(kCu, kBars + "\\Locked"));

    Scenario run("access_denied", LocalIni(false, "FindHistory"));
    ASSERT_EQ("", run.problem);
    const Outcome outcome = run.Watch(kBoxShowMs);
    ASSERT_TRUE(outcome.boxShown);
    HWND box = BoxesOf(run.pid).front();
    EXPECT_EQ("Access Denied", Text(box));
    EXPECT_EQ("Access denied to delete registry key.", BoxMessage(box));
    EXPECT_TRUE(KeyExists(kCu, kAcMru)) << "the washer must wait for the box";
    ASSERT_TRUE(PostMessageA(box, WM_COMMAND, IDOK, 0));

    EXPECT_EQ(run.Wait(kPromptMs), 0u);
    EXPECT_TRUE(BoxesOf(run.pid).empty());
    EXPECT_FALSE(KeyExists(kCu, kBars + "\\Free"));
    EXPECT_FALSE(KeyExists(kCu, kAcMru));
}

TEST(RecycleBin, IsEmptiedWithoutAnyWindow) {
    const std::string folder = "C:\\e2e_recycle";
    std::filesystem::create_directories(folder);
    std::string from;
    for (const char* name : {"\\one.txt", "\\two.txt"}) {
        Touch(folder + name);
        from += folder + name + '\0';
    }
    from += '\0';
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    ASSERT_EQ(SHFileOperationA(&op), 0);
    SHQUERYRBINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_EQ(SHQueryRecycleBinA(nullptr, &info), S_OK);
    ASSERT_GE(info.i64NumItems, 2);
    Canaries canaries;

    Scenario("recycle_bin", LocalIni(false, "RecycleBin")).ExpectQuietEnd();
    ASSERT_EQ(SHQueryRecycleBinA(nullptr, &info), S_OK);
    EXPECT_EQ(info.i64NumItems, 0);
    EXPECT_EQ("", canaries.Damage());
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vw::e2e
