// The Netscape step on Wine's real registry and files: two Netscape 6
// profiles chosen in the settings store, then a Navigator install.
#include <gtest/gtest.h>

#include <filesystem>

#include "harness.h"

namespace vw::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kStore = "Software\\VB and VBA Program Settings\\Vantrix\\NProfile";
const std::string kNetscape = "Software\\Netscape";
const std::string kUrlHistory = kNetscape + "\\Netscape Navigator\\URL History";
const std::string kRoot = "C:\\e2e_netscape";

// Every trace a profile holds, and what must stay beside them.
const char* const kTraces[] = {"\\Cache\\0A1B2C.dat",
                               "\\Cache\\sub\\x.dat",
                               "\\cookies.txt",
                               "\\history.dat",
                               "\\netscape.hst",
                               "\\mail\\Inbox\\Trash",
                               "\\mail\\Inbox\\Trash.snm",
                               "\\mail\\Local\\trash.msf"};
const char* const kKept[] = {"\\prefs.js", "\\bookmarks.html", "\\mail\\Trash",
                             "\\mail\\Inbox\\Inbox", "\\mail\\Local\\Deep\\Trash"};

void SeedProfile(const std::string& dir) {
    for (const char* t : kTraces) Touch(dir + t, "trace");
    for (const char* k : kKept) Touch(dir + k, "keep");
}

std::string Left(const std::string& dir) {
    std::string left;
    for (const char* t : kTraces) {
        if (fs::exists(dir + t)) left += dir + t + " is left\n";
    }
    for (const char* k : kKept) {
        if (!fs::exists(dir + k)) left += dir + k + " is gone\n";
    }
    if (!fs::is_directory(dir + "\\Cache") || !fs::is_empty(dir + "\\Cache")) {
        left += dir + "\\Cache is not there empty\n";
    }
    return left;
}

const char* const kOptions =
    "[Netscape Options]\r\nCache=1\r\nCookies=1\r\nClean=1\r\nMailTrash=1\r\n";

class NetscapeProfiles : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SetString(kCu, kUrlHistory, "URL_1", "http://a.test/") &&
                    SetString(kCu, kUrlHistory, "url_2", "http://b.test/") &&
                    SetString(kCu, kUrlHistory, "MyURL_1", "keep") &&
                    SetString(kCu, kUrlHistory, "URL", "keep"));
    }
    void TearDown() override {
        RemoveTree(kCu, kNetscape);
        RemoveTree(kLm, kNetscape);
        RemoveTree(kCu, "Software\\VB and VBA Program Settings");
        std::error_code ec;
        fs::remove_all(kRoot, ec);
    }
    void UrlValuesWashed() {
        EXPECT_FALSE(ValueExists(kCu, kUrlHistory, "URL_1"));
        EXPECT_FALSE(ValueExists(kCu, kUrlHistory, "url_2"));
        EXPECT_TRUE(ValueExists(kCu, kUrlHistory, "MyURL_1"));
        EXPECT_TRUE(ValueExists(kCu, kUrlHistory, "URL"));
    }
};

TEST_F(NetscapeProfiles, SelectedNetscape6ProfilesAreWashed) {
    const std::string one = kRoot + "\\Profiles\\one.slt", two = kRoot + "\\Profiles\\two.slt",
                      unselected = kRoot + "\\Profiles\\three.slt";
    for (const auto& dir : {one, two, unselected}) SeedProfile(dir);
    ASSERT_TRUE(SetString(kLm, kNetscape + "\\Netscape 6", "CurrentVersion", "6.2 (en)") &&
                SetString(kCu, kStore, "SelectedNProfile", "one|two|") &&
                SetString(kCu, kStore, "1", one) && SetString(kCu, kStore, "2", two) &&
                SetString(kCu, kStore, "3", unselected));
    Canaries canaries;

    Scenario("netscape6", LocalIni(false, "Netscape") + kOptions).ExpectQuietEnd();
    EXPECT_EQ("", Left(one));
    EXPECT_EQ("", Left(two));
    EXPECT_TRUE(fs::exists(unselected + "\\cookies.txt"));
    UrlValuesWashed();
    EXPECT_EQ("", canaries.Damage());
}

TEST_F(NetscapeProfiles, NavigatorProfileBesideTheInstallFolder) {
    const std::string profile = kRoot + "\\Users\\jane";
    SeedProfile(profile);
    Touch(kRoot + "\\Program\\netscape.exe", "keep");
    ASSERT_TRUE(SetString(kCu, kNetscape + "\\Netscape Navigator\\Main", "Install Directory",
                          kRoot + "\\Program") &&
                SetString(kCu, kNetscape + "\\Netscape Navigator\\biff", "CurrentUser", "jane"));
    Canaries canaries;

    Scenario("navigator", LocalIni(false, "Netscape") + kOptions).ExpectQuietEnd();
    EXPECT_EQ("", Left(profile));
    EXPECT_TRUE(fs::exists(kRoot + "\\Program\\netscape.exe"));
    UrlValuesWashed();
    EXPECT_EQ("", canaries.Damage());
}

}  // namespace
}  // namespace vw::e2e
