#include <gtest/gtest.h>

#include "support/sim_run.h"
#include "wash/frm_wash.h"

namespace vw {
namespace {

const HKey kCu = hkey::kCurrentUser;
const std::string kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::string kRunMru = kExplorer + "\\RunMRU";
const std::string kUrlList = "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList";

class RegistryWashersTest : public ::testing::Test {
  protected:
    void Run(const std::string& ini) {
        m.UseIni(ini);
        frmWash form(m.sim.platform());
        form.StartClean();
        progress = form.ProgressValue();
    }

    test::SimMachine m;
    sim::SimRegistry& reg = m.sim.registry;
    float progress = 0;
};

TEST_F(RegistryWashersTest, FindHistoryTakesTheValueAndTwoTreesOnly) {
    reg.SetString(kCu, kExplorer, "Doc Find Spec MRU", "abc");
    reg.SetString(kCu, kExplorer, "Canary", "1");
    reg.SetString(kCu, kExplorer + "\\Doc Find Spec MRU", "a", "x");  // a key of that name
    reg.SetString(kCu, "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{G}\\Deep", "v",
                  "1");
    reg.SetString(kCu, "Software\\Microsoft\\Internet Explorer\\Main", "Canary", "1");
    reg.SetString(kCu, "Software\\Microsoft\\Search Assistant\\ACMru\\5603", "000", "q");
    reg.SetString(kCu, "Software\\Microsoft\\Search Assistant\\Canary", "v", "1");

    Run("[Standard Options]\r\nFindHistory=1\r\n");
    EXPECT_FALSE(reg.ValueExists(kCu, kExplorer, "Doc Find Spec MRU"));
    EXPECT_FALSE(reg.KeyExists(kCu, "Software\\Microsoft\\Internet Explorer\\Explorer Bars"));
    EXPECT_FALSE(reg.KeyExists(kCu, "Software\\Microsoft\\Search Assistant\\ACMru"));
    EXPECT_TRUE(reg.ValueExists(kCu, kExplorer, "Canary"));
    EXPECT_TRUE(reg.ValueExists(kCu, kExplorer + "\\Doc Find Spec MRU", "a"));
    EXPECT_TRUE(reg.ValueExists(kCu, "Software\\Microsoft\\Internet Explorer\\Main", "Canary"));
    EXPECT_TRUE(reg.KeyExists(kCu, "Software\\Microsoft\\Search Assistant\\Canary"));
    EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST_F(RegistryWashersTest, RunHistoryDeletesWhatMruListNames) {
    reg.SetString(kCu, kRunMru, "MRUList", "dcbaa");  // a twice: the second finds nothing
    for (const char* v : {"a", "b", "c", "d", "x"}) reg.SetString(kCu, kRunMru, v, "cmd\\1");
    Run("[Standard Options]\r\nRunHistory=1\r\n[Wash Options]\r\nSkipMessages=1\r\n");
    EXPECT_EQ(reg.ValueNames(kCu, kRunMru), std::vector<std::string>{"x"});
    EXPECT_TRUE(m.sim.ui.boxes.empty());

    // A list that is not a plain string reads as empty: only it goes.
    reg.SetValue(kCu, kRunMru, "MRUList", regtype::kExpandSz, std::string("x\0", 2));
    Run("[Standard Options]\r\nRunHistory=1\r\n[Wash Options]\r\nSkipMessages=1\r\n");
    EXPECT_EQ(reg.ValueNames(kCu, kRunMru), std::vector<std::string>{"x"});
}

TEST_F(RegistryWashersTest, RecycleBinIsEmptiedSilentlyForEveryDrive) {
    m.sim.shell.recycled = 3;
    Run("[Standard Options]\r\nRecycleBin=1\r\n");
    EXPECT_TRUE(m.Journaled("empty recycle bin \"\" 7"));
    EXPECT_EQ(m.sim.shell.recycled, 0);
    // Already empty: the shell's failure is no failure of the run.
    Run("[Standard Options]\r\nRecycleBin=1\r\n");
    EXPECT_FLOAT_EQ(progress, 99.0f);
}

TEST_F(RegistryWashersTest, RecycleBinRootAndFlags) {
    frmWash form(m.sim.platform());
    const std::pair<const char*, const char*> roots[] = {{"D", "D:\\"},
                                                         {"D:", "D:\\"},
                                                         {"Dxyz", "D:\\"},
                                                         {"D:\\", "D:\\"},
                                                         {"D:\\Recycled", "D:\\Recycled"},
                                                         {"", ""}};
    for (const auto& [given, passed] : roots) {
        form.WashRecycleBin(given, true, false, false);
        EXPECT_EQ(m.sim.journal.back(), "empty recycle bin \"" + std::string(passed) + "\" 1")
            << given;
    }
    form.WashRecycleBin("", false, false, true);
    EXPECT_EQ(m.sim.journal.back(), "empty recycle bin \"\" 4");
}

TEST_F(RegistryWashersTest, MediaPlayerListsGoUpToTheFirstGap) {
    for (int n : {0, 1, 2, 3, 4, 7}) reg.SetString(kCu, kUrlList, "URL" + std::to_string(n), "u");
    reg.SetString(kCu, "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList\\Sub", "File0",
                  "f");
    reg.SetString(kCu, "Software\\Microsoft\\MediaPlayer\\Player\\Settings", "Canary", "1");
    Run("[Standard Options]\r\nMediaPlayer=1\r\n");
    EXPECT_EQ(reg.ValueNames(kCu, kUrlList), std::vector<std::string>{"URL7"});
    EXPECT_TRUE(reg.KeyExists(kCu, kUrlList));
    EXPECT_FALSE(reg.KeyExists(kCu, "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList"));
    EXPECT_TRUE(reg.KeyExists(kCu, "Software\\Microsoft\\MediaPlayer\\Player\\Settings"));
}

TEST_F(RegistryWashersTest, MediaPlayerStopsAtNonStringsAndAfterUrl100) {
    frmWash form(m.sim.platform());
    for (int n = 0; n < 150; ++n) reg.SetString(kCu, kUrlList, "URL" + std::to_string(n), "u");
    form.WashMediaPlayer();
    EXPECT_EQ(reg.ValueNames(kCu, kUrlList).size(), 49u);
    EXPECT_FALSE(reg.ValueExists(kCu, kUrlList, "URL100"));
    EXPECT_TRUE(reg.ValueExists(kCu, kUrlList, "URL101"));

    // A number value ends the walk and is deleted itself; an empty one too.
    for (int n = 0; n < 4; ++n) reg.SetString(kCu, kUrlList, "URL" + std::to_string(n), "u");
    reg.SetValue(kCu, kUrlList, "URL2", regtype::kDword, std::string(4, '\1'));
    form.WashMediaPlayer();
    EXPECT_FALSE(reg.ValueExists(kCu, kUrlList, "URL2"));
    EXPECT_TRUE(reg.ValueExists(kCu, kUrlList, "URL3"));
    reg.SetString(kCu, kUrlList, "URL0", "");
    form.WashMediaPlayer();
    EXPECT_FALSE(reg.ValueExists(kCu, kUrlList, "URL0"));
    EXPECT_TRUE(reg.ValueExists(kCu, kUrlList, "URL3"));
}

}  // namespace
}  // namespace vw
