#include <gtest/gtest.h>

#include "support/sim_run.h"
#include "wash/frm_wash.h"

namespace vw {
namespace {

const HKey kCu = hkey::kCurrentUser;
const std::string kStore = "Software\\VB and VBA Program Settings\\Vantrix\\NProfile";
const std::string kNavigator = "Software\\Netscape\\Netscape Navigator";
const std::string kUrlHistory = kNavigator + "\\URL History";

class NetscapeTest : public ::testing::Test {
  protected:
    // A profile folder with every kind of trace, and a canary beside them.
    void Profile(const std::string& dir) {
        auto& fs = m.sim.files;
        fs.AddFile(dir + "\\Cache\\0A1B.dat", "", attr::kReadOnly);
        fs.AddFile(dir + "\\cookies.txt", "cookie");
        fs.AddFile(dir + "\\history.dat", "h");
        fs.AddFile(dir + "\\netscape.hst", "h");
        fs.AddFile(dir + "\\prefs.js", "keep");
        fs.AddFile(dir + "\\mail\\Inbox\\Trash");
        fs.AddFile(dir + "\\mail\\Inbox\\Trash.snm");
        fs.AddFile(dir + "\\mail\\Local\\trash.msf");
        fs.AddFile(dir + "\\mail\\Local\\trash.old", "", attr::kHidden);  // left by choice
        fs.AddFile(dir + "\\mail\\Local\\Inbox");
        fs.AddFile(dir + "\\mail\\Trash");
        fs.AddFile(dir + "\\mail\\Local\\Deeper\\Trash");
    }
    bool Washed(const std::string& dir) { return !m.sim.files.Exists(dir + "\\cookies.txt"); }
    void SixProfiles(const std::string& selected) {
        m.sim.registry.SetString(hkey::kLocalMachine, "Software\\Netscape\\Netscape 6",
                                 "CurrentVersion", "6.2");
        m.sim.registry.SetString(kCu, kStore, "SelectedNProfile", selected);
    }
    float Run(const std::string& options = "Cache=1\r\nCookies=1\r\nClean=1\r\nMailTrash=1\r\n") {
        return m.Run(
            "[Standard Options]\r\nNetscape=1\r\n[Wash Options]\r\nSkipAllCustomWashItems=1\r\n"
            "[Netscape Options]\r\n" +
            options);
    }

    test::SimMachine m;
};

TEST_F(NetscapeTest, ProfileIsWashedOfExactlyItsTraces) {
    const std::string dir = "C:\\NS\\p1";
    Profile(dir);
    m.sim.files.AddFile("C:\\Elsewhere\\Trash");
    m.sim.files.AddLink(dir + "\\mail\\Linked", "C:\\Elsewhere");
    for (const char* name : {"url_1", "URL_2", "URL", "MyURL_1"}) {
        m.sim.registry.SetString(kCu, kUrlHistory, name, "http://x");
    }
    SixProfiles("a|");
    m.sim.registry.SetString(kCu, kStore, "1", dir);

    EXPECT_FLOAT_EQ(Run(), 99.0f);
    auto& fs = m.sim.files;
    EXPECT_TRUE(fs.Exists(dir + "\\Cache"));
    EXPECT_FALSE(fs.Exists(dir + "\\Cache\\0A1B.dat"));
    for (const char* gone :
         {"\\cookies.txt", "\\history.dat", "\\netscape.hst", "\\mail\\Inbox\\Trash",
          "\\mail\\Inbox\\Trash.snm", "\\mail\\Local\\trash.msf"}) {
        EXPECT_FALSE(fs.Exists(dir + gone)) << gone;
    }
    for (const char* kept :
         {"\\prefs.js", "\\mail\\Local\\Inbox", "\\mail\\Trash", "\\mail\\Local\\Deeper\\Trash"}) {
        EXPECT_TRUE(fs.Exists(dir + kept)) << kept;
    }
    EXPECT_TRUE(fs.Exists("C:\\Elsewhere\\Trash")) << "a mail folder link was followed";
    EXPECT_EQ(m.sim.registry.ValueNames(kCu, kUrlHistory),
              (std::vector<std::string>{"URL", "MyURL_1"}));
    EXPECT_EQ(m.JournalCount("flush"), 3u) << "cookies and both history files are bleached";
}

TEST_F(NetscapeTest, SwitchesAreIndependent) {
    Profile("C:\\NS\\p1");
    SixProfiles("|");
    m.sim.registry.SetString(kCu, kStore, "1", "C:\\NS\\p1");
    Run("Cookies=1\r\nMailTrash=1\r\n");
    auto& fs = m.sim.files;
    EXPECT_TRUE(fs.Exists("C:\\NS\\p1\\Cache\\0A1B.dat"));
    EXPECT_FALSE(fs.Exists("C:\\NS\\p1\\cookies.txt"));
    EXPECT_TRUE(fs.Exists("C:\\NS\\p1\\history.dat"));
    EXPECT_FALSE(fs.Exists("C:\\NS\\p1\\mail\\Inbox\\Trash"));
}

TEST_F(NetscapeTest, SelectionCountsSeparatorsWithoutLimit) {
    // Profile 2 is missing from the store: skipped, never the drive's root.
    SixProfiles(std::string(300, '|'));
    for (int i : {1, 3, 300, 301}) {
        const std::string dir = "C:\\NS\\p" + std::to_string(i);
        Profile(dir);
        m.sim.registry.SetString(kCu, kStore, std::to_string(i), dir);
    }
    m.sim.files.AddFile("C:\\cookies.txt", "root canary");
    m.sim.registry.SetString(kCu, kNavigator + "\\Main", "Install Directory", "C:\\Nav\\Program");
    Profile("C:\\Nav\\Users\\");

    EXPECT_FLOAT_EQ(Run(), 99.0f);
    EXPECT_TRUE(Washed("C:\\NS\\p1") && Washed("C:\\NS\\p3") && Washed("C:\\NS\\p300"));
    EXPECT_FALSE(Washed("C:\\NS\\p301"));
    EXPECT_FALSE(Washed("C:\\Nav\\Users\\")) << "Navigator keys read beside Netscape 6";
    EXPECT_TRUE(m.sim.files.Exists("C:\\cookies.txt"));
}

TEST_F(NetscapeTest, NoSelectionOrNoInstallFolderWashesNothingAndRaisesNothing) {
    m.sim.files.AddFile("C:\\cookies.txt", "root canary");
    SixProfiles("");
    EXPECT_FLOAT_EQ(Run(), 99.0f);
    for (const char* install : {"", "Program"}) {
        m.sim.registry.DeleteKey(hkey::kLocalMachine, "Software\\Netscape\\Netscape 6");
        m.sim.registry.SetString(kCu, kNavigator + "\\Main", "Install Directory", install);
        EXPECT_FLOAT_EQ(Run(), 99.0f) << install;
    }
    EXPECT_TRUE(m.sim.files.Exists("C:\\cookies.txt"));
}

TEST_F(NetscapeTest, NavigatorProfileIsBuiltBesideTheInstallFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"D:\\Apps\\Netscape\\Communicator", "user1"},
        {"D:\\Apps\\Netscape\\", "user1"},
        {"D:\\Apps\\Netscape\\Communicator", ""}};
    m.sim.files.AddDrive('D', DriveKind::kFixed);
    for (const auto& [install, user] : cases) {
        const std::string dir = std::string("D:\\Apps\\Netscape\\Users\\") + user;
        Profile(dir);
        m.sim.registry.SetString(kCu, kNavigator + "\\Main", "Install Directory", install);
        m.sim.registry.SetString(kCu, kNavigator + "\\biff", "CurrentUser", user);
        Run();
        EXPECT_TRUE(Washed(dir)) << install << " " << user;
    }
}

TEST_F(NetscapeTest, CookieFailureSkipsLaterProfilesAndEndsTheRun) {
    SixProfiles("||");
    for (int i : {1, 2}) {
        Profile("C:\\NS\\p" + std::to_string(i));
        m.sim.registry.SetString(kCu, kStore, std::to_string(i), "C:\\NS\\p" + std::to_string(i));
    }
    m.sim.files.HoldOpen("C:\\NS\\p1\\cookies.txt");
    EXPECT_FLOAT_EQ(Run(), 90.0f);
    EXPECT_TRUE(m.sim.files.Exists("C:\\NS\\p1\\history.dat"));
    EXPECT_FALSE(Washed("C:\\NS\\p2"));
}

}  // namespace
}  // namespace vw
