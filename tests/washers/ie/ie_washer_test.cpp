#include <gtest/gtest.h>

#include <algorithm>

#include "support/sim_run.h"
#include "wash/frm_wash.h"

namespace vw {
namespace {

const HKey kCu = hkey::kCurrentUser;
const HKey kLm = hkey::kLocalMachine;
const std::string kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kInternetSettings =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kUnits = "SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units";
const std::string kTyped = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const std::string kCookies = "C:\\Users\\sim\\Cookies";
const std::string kDownload = "C:\\WINDOWS\\Downloaded Program Files";
const std::string kPage = "http://a.test/page.htm";
const char* const kAllOn =
    "TempIEFiles=1\r\nCookies=1\r\nDownloadDir=1\r\nCleanHistory=1\r\nIEConrolPanel=1\r\n";

class IEWasherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m.sim.urlCache.entries[kPage] = {cacheentry::kNormal};
        reg.SetString(kCu, kShellFolders, "Cookies", kCookies);
        for (const char* name : {"\\a.txt", "\\B.TXT", "\\index.dat", "\\Sub\\s.txt"}) {
            files.AddFile(kCookies + name);
        }
        files.AddFile(kCookies + "\\h.txt", "", attr::kHidden);
        files.AddFile(kCookies + "\\y.txt", "", attr::kSystem);
        files.AddFile("C:\\Users\\sim\\parent.txt");
        reg.SetString(kLm, kInternetSettings, "ActiveXCache", kDownload);
        for (const char* name : {"\\x.ocx", "\\x.inf", "\\Sub\\z.dll"}) {
            files.AddFile(kDownload + name);
        }
        files.AddFile("C:\\WINDOWS\\parent.dll");
        reg.SetString(kLm, kUnits + "\\{00000000-AAAA}\\Contains", "x.ocx", "");
        reg.SetString(kCu, kTyped, "url1", "http://typed.test/");
        m.sim.urlHistory.entries.push_back({"http://visited.test/", "Visited"});
        files.AddFile(Companion());
        files.AddFile("C:\\root.txt");
        files.AddFile("C:\\root.ocx");
    }

    // The progress value the run ends with.
    float Run(const std::string& ieOptions) {
        return m.Run(
            "[Standard Options]\r\nRunHistory=1\r\nIE=1\r\nNetscape=1\r\n"
            "[Wash Options]\r\nSkipAllCustomWashItems=1\r\n[IEOptions]\r\n" +
            ieOptions);
    }

    std::string Companion() const { return m.sim.process.programFolder + "\\vantrixie.exe"; }
    bool Exists(const std::string& path) const { return files.Exists(path); }
    // Where the journal first holds a line starting with `prefix`.
    std::ptrdiff_t At(const std::string& prefix) const {
        const auto& j = m.sim.journal;
        return std::find_if(j.begin(), j.end(),
                            [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }) -
               j.begin();
    }
    // Sub-items 1 to 3 left their marks.
    void ExpectFirstThreeDone() const {
        EXPECT_EQ(m.sim.urlCache.entries.count(kPage), 0u);
        EXPECT_FALSE(Exists(kCookies + "\\a.txt"));
        EXPECT_FALSE(Exists(kDownload + "\\x.ocx"));
        EXPECT_FALSE(reg.KeyExists(kLm, kUnits));
    }
    void ExpectClosedWithoutBox(float progress) const {
        EXPECT_FLOAT_EQ(progress, 72.0f);  // the IE step made none
        EXPECT_FALSE(m.Journaled("read [Wash Options] SkipAllCustomWashItems"));
        EXPECT_EQ(m.JournalCount("box "), 0u);
    }

    test::SimMachine m;
    sim::SimRegistry& reg = m.sim.registry;
    sim::SimFileSystem& files = m.sim.files;
};

TEST_F(IEWasherTest, NothingIsTouchedUnlessASwitchIsExactlyOne) {
    for (const char* value : {"0", "", "\" 1\"", "\"1 \"", "11", "yes"}) {
        std::string options;
        for (const char* key :
             {"TempIEFiles", "Cookies", "DownloadDir", "CleanHistory", "IEConrolPanel"}) {
            options += std::string(key) + "=" + value + "\r\n";
        }
        EXPECT_FLOAT_EQ(Run(options), 99.0f) << value;
    }
    EXPECT_FLOAT_EQ(Run(""), 99.0f);
    EXPECT_EQ(m.JournalCount("cache walk"), 0u);
    EXPECT_EQ(m.JournalCount("delete "), 0u);
    EXPECT_EQ(m.JournalCount("history open"), 0u);
    EXPECT_EQ(m.sim.process.started, 0u);
    EXPECT_TRUE(reg.KeyExists(kLm, kUnits));
    EXPECT_TRUE(reg.ValueExists(kCu, kTyped, "url1"));
}

TEST_F(IEWasherTest, EverySubItemInItsTurnWashesExactlyItsTraces) {
    EXPECT_FLOAT_EQ(Run(kAllOn), 99.0f);

    // Each switch is read only once the sub-item before it is done.
    EXPECT_LT(At("read [IEOptions] TempIEFiles"), At("cache walk"));
    EXPECT_LT(At("cache walk end"), At("read [IEOptions] Cookies"));
    EXPECT_LT(At("read [IEOptions] Cookies"), At("delete " + kCookies));
    EXPECT_LT(At("delete " + kCookies), At("read [IEOptions] DownloadDir"));
    EXPECT_LT(At("read [IEOptions] DownloadDir"), At("delete " + kDownload));
    EXPECT_LT(At("delete " + kDownload), At("read [IEOptions] CleanHistory"));
    EXPECT_LT(At("read [IEOptions] CleanHistory"), At("history open"));
    EXPECT_LT(At("history clear"), At("read [IEOptions] IEConrolPanel"));
    EXPECT_LT(At("read [IEOptions] IEConrolPanel"), At("start "));
    EXPECT_LT(At("start "), At("show lblChkIE"));

    ExpectFirstThreeDone();
    EXPECT_FALSE(Exists(kCookies + "\\B.TXT"));
    // Deletion by mask leaves hidden and system files, other types and subfolders.
    for (const char* kept : {"\\index.dat", "\\h.txt", "\\y.txt", "\\Sub\\s.txt"}) {
        EXPECT_TRUE(Exists(kCookies + kept)) << kept;
    }
    EXPECT_TRUE(Exists("C:\\Users\\sim\\parent.txt"));
    EXPECT_FALSE(Exists(kDownload + "\\x.inf"));
    EXPECT_TRUE(Exists(kDownload + "\\Sub\\z.dll"));
    EXPECT_TRUE(Exists("C:\\WINDOWS\\parent.dll"));
    EXPECT_TRUE(m.sim.urlHistory.entries.empty());
    EXPECT_TRUE(reg.KeyExists(kCu, kTyped));
    EXPECT_TRUE(reg.ValueNames(kCu, kTyped).empty());
    EXPECT_EQ(m.sim.process.started, 1u);
    EXPECT_TRUE(m.Journaled("start " + Companion() + " 2"));
    // The history store is held until the washer returns.
    EXPECT_LT(At("start "), At("history close"));
    EXPECT_LT(At("history close"), At("show lblChkIE"));
}

TEST_F(IEWasherTest, AFolderEndingInABackslashGetsNoSecondOne) {
    reg.SetString(kCu, kShellFolders, "Cookies", kCookies + "\\");
    reg.SetString(kLm, kInternetSettings, "ActiveXCache", kDownload + "\\");
    Run("Cookies=1\r\nDownloadDir=1\r\n");
    EXPECT_TRUE(m.Journaled("delete " + kCookies + "\\a.txt"));
    EXPECT_TRUE(m.Journaled("delete " + kDownload + "\\x.ocx"));
}

TEST_F(IEWasherTest, AFolderValueThatIsNoFolderOfItsOwnDeletesNoFileAnywhere) {
    // Empty would make the masks start at the current drive's root.
    for (const char* value : {"", "C:", "C:\\", "\\", "Cookies", "C:\\Users\\sim", "C:\\WINDOWS"}) {
        reg.SetString(kCu, kShellFolders, "Cookies", value);
        reg.SetString(kLm, kInternetSettings, "ActiveXCache", value);
        reg.SetString(kLm, kUnits + "\\{1}", "v", "");
        EXPECT_FLOAT_EQ(Run("Cookies=1\r\nDownloadDir=1\r\n"), 99.0f) << value;
        EXPECT_FALSE(reg.KeyExists(kLm, kUnits)) << value;
    }
    EXPECT_EQ(m.JournalCount("delete "), 0u);
}

TEST_F(IEWasherTest, ADownloadFolderWithoutNormalFilesStillLosesTheComponentsTree) {
    reg.SetString(kLm, kInternetSettings, "ActiveXCache", "C:\\WINDOWS\\Empty");
    files.AddFile("C:\\WINDOWS\\Empty\\h.ocx", "", attr::kHidden);
    files.AddFile("C:\\WINDOWS\\Empty\\s.ocx", "", attr::kSystem);
    files.AddFolder("C:\\WINDOWS\\Empty\\Sub");
    EXPECT_FLOAT_EQ(Run("DownloadDir=1\r\n"), 99.0f);
    EXPECT_EQ(m.JournalCount("delete "), 0u);
    EXPECT_FALSE(reg.KeyExists(kLm, kUnits));
}

TEST_F(IEWasherTest, ReadOnlyCookieEndsTheRunAfterTheFilesBeforeIt) {
    files.AddFile(kCookies + "\\r.txt", "", attr::kReadOnly);
    ExpectClosedWithoutBox(Run(kAllOn));
    EXPECT_FALSE(Exists(kCookies + "\\a.txt"));
    EXPECT_TRUE(Exists(kCookies + "\\r.txt"));
    EXPECT_FALSE(m.Journaled("read [IEOptions] DownloadDir"));
    EXPECT_TRUE(Exists(kDownload + "\\x.ocx"));
}

TEST_F(IEWasherTest, CleanHistoryCreatesTypedUrlsWhenItWasMissing) {
    reg.DeleteKey(kCu, kTyped);
    ASSERT_FALSE(reg.KeyExists(kCu, kTyped));
    EXPECT_FLOAT_EQ(Run("CleanHistory=1\r\n"), 99.0f);
    EXPECT_TRUE(reg.KeyExists(kCu, kTyped));
    EXPECT_TRUE(reg.ValueNames(kCu, kTyped).empty());
    EXPECT_TRUE(m.sim.urlHistory.entries.empty());
}

TEST_F(IEWasherTest, AFailingHistoryStoreEndsTheRunAtTheIEStep) {
    m.sim.faults.FailOn("ClearHistory", hresult::kNotImplemented);
    ExpectClosedWithoutBox(Run(kAllOn));
    ExpectFirstThreeDone();
    EXPECT_TRUE(reg.ValueExists(kCu, kTyped, "url1"));
    EXPECT_FALSE(m.Journaled("read [IEOptions] IEConrolPanel"));
    EXPECT_EQ(m.sim.process.started, 0u);
    EXPECT_EQ(m.JournalCount("history close"), 1u);
}

TEST_F(IEWasherTest, AMissingCompanionEndsTheRunOnceEverythingElseIsDone) {
    files.RemoveFile(Companion());
    ExpectClosedWithoutBox(Run(kAllOn));
    ExpectFirstThreeDone();
    EXPECT_TRUE(m.sim.urlHistory.entries.empty());
    EXPECT_TRUE(reg.ValueNames(kCu, kTyped).empty());
    EXPECT_TRUE(m.Journaled("start " + Companion() + " 2"));
}

}  // namespace
}  // namespace vw
