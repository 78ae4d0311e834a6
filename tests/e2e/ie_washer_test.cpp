// The Internet Explorer step on Wine's real URL cache, registry and files,
// with canaries beside every washed location.
#include "harness.h"
// <wininet.h> needs the definitions of <windows.h>, which the harness brings.
#include <gtest/gtest.h>
#include <wininet.h>

#include <filesystem>
#include <fstream>

#include "companion_probe.h"

namespace vw::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kInternetSettings =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kCodeStore = "SOFTWARE\\Microsoft\\Code Store Database";
const std::string kUnits = kCodeStore + "\\Distribution Units";
const std::string kTyped = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const std::string kRoot = "C:\\e2e_ie";
const std::string kCookies = kRoot + "\\Cookies";
const std::string kDownload = kRoot + "\\Downloaded";
const std::string kPage = "http://vantrix.test/ie/page.htm";
const std::string kCookie = "http://vantrix.test/ie/cookie.txt";
const std::string kRootCanary = "C:\\vantrix_ie_canary.ocx";
const char* const kFirstThree = "TempIEFiles=1\r\nCookies=1\r\nDownloadDir=1\r\n";
// The companion as the washer finds it.
const Beside kProbe{"ie_companion_probe.exe", "vantrixie.exe"};

bool Commit(const std::string& url, DWORD type) {
    char file[MAX_PATH] = {};
    if (!CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0)) return false;
    std::ofstream(file) << "<html/>";
    const FILETIME none{};
    return CommitUrlCacheEntryA(url.c_str(), file, none, none, type, nullptr, 0, "htm", nullptr);
}

bool InCache(const std::string& url) {
    DWORD size = 0;
    return GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size) ||
           GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

// The file's text once it holds `until`, or what it holds after `ms`.
std::string AwaitText(const std::string& path, const std::string& until, DWORD ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    std::string text = ReadText(path);
    while (text.find(until) == std::string::npos && GetTickCount64() < deadline) {
        Sleep(20);
        text = ReadText(path);
    }
    return text;
}

class IEWasher : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(Commit(kPage, NORMAL_CACHE_ENTRY) && Commit(kCookie, COOKIE_CACHE_ENTRY));
        for (const std::string& file :
             {kCookies + "\\a.txt", kCookies + "\\B.TXT", kCookies + "\\index.dat",
              kCookies + "\\Sub\\s.txt", kCookies + "\\h.txt", kRoot + "\\keep.txt",
              kDownload + "\\x.ocx", kDownload + "\\x.inf", kDownload + "\\Sub\\z.dll",
              kRoot + "\\keep.ocx", kRootCanary}) {
            ASSERT_TRUE(Touch(file)) << file;
        }
        SetFileAttributesA((kCookies + "\\h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
        // Wine's WinINet copies the "User Shell Folders" value over the seed.
        RegDeleteKeyValueA(kCu, (kExplorer + "\\User Shell Folders").c_str(), "Cookies");
        ASSERT_TRUE(SetString(kCu, kExplorer + "\\Shell Folders", "Cookies", kCookies) &&
                    SetString(kLm, kInternetSettings, "ActiveXCache", kDownload) &&
                    SetString(kLm, kUnits + "\\{E2E-0001}\\Contains\\Files", "x.ocx", "") &&
                    SetString(kLm, kCodeStore, "VantrixKeep", "1") &&
                    SetString(kCu, kTyped, "url1", "http://typed.test/"));
    }
    void TearDown() override {
        RemoveTree(kLm, kUnits);
        RegDeleteKeyValueA(kLm, kCodeStore.c_str(), "VantrixKeep");
        RegDeleteKeyValueA(kCu, kTyped.c_str(), "url1");
        DeleteUrlCacheEntryA(kPage.c_str());
        DeleteUrlCacheEntryA(kCookie.c_str());
        std::error_code ec;
        fs::remove_all(kRoot, ec);
        fs::remove(kRootCanary, ec);
    }

    std::string Ini(const std::string& ieOptions) const {
        // RunHistory: a run that reaches its end asks for a logoff.
        return LocalIni(false, "IE RunHistory") + "[IEOptions]\r\n" + ieOptions;
    }
    // Sub-items 1 to 3 did their work and nothing more.
    void ExpectFirstThreeDone() const {
        EXPECT_FALSE(InCache(kPage));
        EXPECT_FALSE(InCache(kCookie));
        EXPECT_FALSE(fs::exists(kCookies + "\\a.txt"));
        EXPECT_FALSE(fs::exists(kCookies + "\\B.TXT"));
        for (const char* kept : {"\\index.dat", "\\h.txt", "\\Sub\\s.txt"}) {
            EXPECT_TRUE(fs::exists(kCookies + kept)) << kept;
        }
        EXPECT_FALSE(fs::exists(kDownload + "\\x.ocx"));
        EXPECT_FALSE(fs::exists(kDownload + "\\x.inf"));
        EXPECT_TRUE(fs::exists(kDownload + "\\Sub\\z.dll"));
        EXPECT_FALSE(KeyExists(kLm, kUnits));
        ExpectCanaries();
    }
    void ExpectCanaries() const {
        EXPECT_TRUE(fs::exists(kRoot + "\\keep.txt"));
        EXPECT_TRUE(fs::exists(kRoot + "\\keep.ocx"));
        EXPECT_TRUE(fs::exists(kRootCanary));
        EXPECT_TRUE(ValueExists(kLm, kCodeStore, "VantrixKeep"));
        // The Run history goes by design.
        std::string damage = canaries.Damage();
        EXPECT_EQ(damage.find("vantrix_canary"), std::string::npos) << damage;
        EXPECT_EQ(damage.find("VantrixCanary"), std::string::npos) << damage;
        EXPECT_EQ(damage.find("RecentDocs"), std::string::npos) << damage;
    }

    SavedValue userCookies{kCu, kExplorer + "\\User Shell Folders", "Cookies"};
    SavedValue shellCookies{kCu, kExplorer + "\\Shell Folders", "Cookies"};
    SavedValue activeXCache{kLm, kInternetSettings, "ActiveXCache"};
    Canaries canaries;
};

TEST_F(IEWasher, WashesEachSubItemThenAMissingCompanionEndsTheRun) {
    // A box: the run went on after the failed start.
    Scenario("ie_no_companion", Ini(std::string(kFirstThree) + "IEConrolPanel=1\r\n"))
        .ExpectQuietEnd(kBoxShowMs);
    ExpectFirstThreeDone();
    EXPECT_TRUE(ValueExists(kCu, kTyped, "url1"));
}

TEST_F(IEWasher, EmptyFolderValuesDeleteNothingAtTheDriveRoot) {
    // The run's working folder is C:\bin: the masks would start at C:\.
    ASSERT_TRUE(SetString(kCu, kExplorer + "\\Shell Folders", "Cookies", "") &&
                SetString(kLm, kInternetSettings, "ActiveXCache", ""));
    Scenario run("ie_empty_folders", Ini("Cookies=1\r\nDownloadDir=1\r\n"));
    ASSERT_EQ("", run.problem);
    const Outcome outcome = run.Watch(kBoxShowMs);
    ASSERT_TRUE(outcome.boxShown);
    PostMessageA(BoxesOf(run.pid).front(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(run.Wait(kPromptMs), 0u);
    ExpectCanaries();
    EXPECT_TRUE(fs::exists(kCookies + "\\a.txt"));
    EXPECT_TRUE(fs::exists(kDownload + "\\x.ocx"));
    EXPECT_FALSE(KeyExists(kLm, kUnits));
}

TEST_F(IEWasher, CompanionStartsMinimizedAndTheRunGoesOnWithoutIt) {
    const win32::UniqueKernelHandle release(CreateEventA(nullptr, TRUE, FALSE, kProbeRelease));
    ASSERT_TRUE(release);
    Scenario run("ie_companion", Ini("IEConrolPanel=1\r\n"), false, {kProbe});
    ASSERT_EQ("", run.problem);
    const std::string record = "C:\\e2e\\ie_companion\\" + std::string(kProbeRecord);

    // The closing box shows while the companion still waits for its release.
    const Outcome outcome = run.Watch(kBoxShowMs);
    ASSERT_TRUE(outcome.boxShown);
    const std::string started = AwaitText(record, "\n", kPromptMs);
    EXPECT_EQ(started, "2\n\"C:\\e2e\\ie_companion\\vantrixie.exe\"\n");
    PostMessageA(BoxesOf(run.pid).front(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(run.Wait(kPromptMs), 0u);

    EXPECT_EQ(ReadText(record).find("ended"), std::string::npos);
    SetEvent(release.get());
    EXPECT_NE(AwaitText(record, "ended", kPromptMs).find("ended"), std::string::npos);
    ExpectCanaries();
}

// Wine's URL history store answers every call with E_NOTIMPL.
TEST_F(IEWasher, CleanHistoryEndsTheRunAtTheIEStepOnWine) {
    if (!UnderWine()) GTEST_SKIP() << "the history store works here";
    Scenario run("ie_clean_history",
                 Ini(std::string(kFirstThree) + "CleanHistory=1\r\nIEConrolPanel=1\r\n"), false,
                 {kProbe});
    run.ExpectQuietEnd(kBoxShowMs);
    ExpectFirstThreeDone();
    EXPECT_TRUE(ValueExists(kCu, kTyped, "url1"));
    EXPECT_FALSE(fs::exists("C:\\e2e\\ie_clean_history\\" + std::string(kProbeRecord)))
        << "the companion was started";
}

}  // namespace
}  // namespace vw::e2e
