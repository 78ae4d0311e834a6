// Hostile inputs, end to end with the real exe: settings and lists that are
// garbage or aim too wide, extreme registry trees, keys that refuse
// everything, a Temp variable aimed at the system, locked files, a second
// start. Every run is followed by a check of one fixed set of canaries; the
// suite's tally is printed last, for `make test` to show.
#include "harness.h"
// Needs <windows.h>, which the harness brings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>

namespace vw::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// Every file a run may wash lives below kWork.
const std::string kWork = "C:\\e2e_hostile";
const std::string kLists = "C:\\e2e_hostile_lists";
const std::string kTemp = kWork + "\\temp";
const std::string kCustom = kWork + "\\custom";
const std::string kAppData = kWork + "\\appdata";
const std::string kRecent = kAppData + "\\Microsoft\\Office\\Recent";
const std::string kCookies = kWork + "\\cookies";
const std::string kProfile = kWork + "\\ns\\Users\\u";
const std::string kBars = "Software\\Microsoft\\Internet Explorer\\Explorer Bars";
const std::string kAcMru = "Software\\Microsoft\\Search Assistant\\ACMru";
const std::string kOwn = "Software\\VantrixHostile";  // what custom records name
const std::string kOwnFull = "HKEY_CURRENT_USER\\" + kOwn;
const std::string kNavigator = "Software\\Netscape\\Netscape Navigator";
// Step 1 (FindHistory) and step 11 (Netscape, cookies.txt) leave these.
const std::string kEarly = kBars + "\\{E2E-Hostile}";
const std::string kLate = kProfile + "\\cookies.txt";
const std::string kDenied = "Access denied to delete registry key.";
const std::string kLogoff = "Please logoff the machine for effect in Run History.";
// A run here takes about a second under Wine; a hang must still end the test.
constexpr DWORD kRunMs = 20000;
constexpr std::size_t kMaxBoxes = 10;

struct Tally {
    int scenarios = 0, checked = 0, lost = 0;
} tally;

class PrintTally : public ::testing::Environment {
  public:
    // `make test` greps this line out of the test log.
    void TearDown() override {
        std::printf("hostile: scenarios=%d canaries_checked=%d canaries_lost=%d\n", tally.scenarios,
                    tally.checked, tally.lost);
        std::fflush(stdout);
    }
};
[[maybe_unused]] ::testing::Environment* const kPrintTally =
    ::testing::AddGlobalTestEnvironment(std::make_unique<PrintTally>().release());

// A null root marks a file; a key holds the value Keep.
struct Canary {
    HKEY root;
    std::string path;
};

std::vector<Canary> CanaryTable() {
    // The runs start in the test's folder: lists with relative paths aim there.
    const std::string here = fs::current_path().string();
    return {
        {nullptr, "C:\\vantrix_hostile.txt"},
        {nullptr, "C:\\windows\\vantrix_hostile.txt"},
        {nullptr, "C:\\windows\\vantrix_hostile\\keep.txt"},
        {nullptr, (fs::temp_directory_path() / "vantrix_hostile.tmp").string()},
        {nullptr, here + "\\vantrix_hostile.txt"},
        {nullptr, here + "\\hostile_sub\\keep.txt"},
        {nullptr, kWork + "\\keep.txt"},
        {nullptr, kWork + "\\temp_keep\\keep.txt"},
        {nullptr, kCustom + "\\keep.log"},
        {nullptr, kCustom + "\\Sub\\keep.txt"},
        {nullptr, kRecent + "\\index.dat"},
        {nullptr, kAppData + "\\Microsoft\\Office\\keep.lnk"},
        {nullptr, kCookies + "\\index.dat"},
        {nullptr, kCookies + "\\Sub\\keep.txt"},
        {nullptr, kProfile + "\\prefs.js"},
        {nullptr, kProfile + "\\mail\\Trash"},
        {nullptr, kWork + "\\ns\\Program\\netscape.exe"},
        {kCu, "Software\\VantrixHostileKeep"},
        {kCu, "Software\\VantrixHostileKeep\\Inner"},
        {kLm, "Software\\VantrixHostileKeep"},
        {kLm, "Software\\VantrixHostileKeep\\Inner"},
        {kCu, "Software\\Microsoft\\Internet Explorer\\VantrixKeep"},
        {kCu, "Software\\Microsoft\\Search Assistant\\VantrixKeep"},
        {kCu, kOwn + "\\Keep"},
        {kCu, kNavigator + "\\Keep"},
    };
}

// The chain root\path\names[0]\names[1]..., created one name at a time so
// that no ANSI call sees more than one name, whatever the depth.
bool CreateChain(HKEY root, const std::string& path, const std::vector<std::string>& names,
                 const std::string& valueName) {
    win32::UniqueRegKey key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    for (const std::string& name : names) {
        HKEY next = nullptr;
        if (RegCreateKeyExA(key.get(), name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &next,
                            nullptr) != ERROR_SUCCESS) {
            return false;
        }
        key.reset(next);
    }
    return RegSetValueExA(key.get(), valueName.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>("x"), 2) == ERROR_SUCCESS;
}

bool ChainExists(HKEY root, const std::string& path, const std::vector<std::string>& names) {
    win32::UniqueRegKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
    for (const std::string& name : names) {
        HKEY next = nullptr;
        if (RegOpenKeyExA(key.get(), name.c_str(), 0, KEY_READ, &next) != ERROR_SUCCESS) {
            return false;
        }
        key.reset(next);
    }
    return true;
}

// Names of the subkeys, sorted; a key that refuses to be opened is still
// listed here.
std::vector<std::string> Subkeys(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    win32::UniqueRegKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return names;
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof(name);
        if (RegEnumKeyExA(key.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, size);
    }
    std::sort(names.begin(), names.end());
    return names;
}

DWORD ValueCount(HKEY root, const std::string& path) {
    win32::UniqueRegKey key;
    DWORD count = 0;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS ||
        RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return ~0u;
    }
    return count;
}

// Steps 1 and 11 are on and leave traces, and RunHistory asks for the closing
// box: every run shows how far it went. `standard` adds lines to [Standard
// Options], `more` whole sections.
std::string Ini(const std::string& standard = "", bool customLists = false,
                const std::string& more = "") {
    return "[Standard Options]\r\nFindHistory=1\r\nRunHistory=1\r\nNetscape=1\r\n" + standard +
           "[Wash Options]\r\nSkipAllCustomWashItems=" + (customLists ? "0" : "1") +
           "\r\nSkipMessages=0\r\n[Netscape Options]\r\nCache=1\r\nCookies=1\r\nClean=1\r\n"
           "MailTrash=1\r\n" +
           more;
}

std::string Record(const std::string& type, const std::string& path, const std::string& name = "") {
    return "\"" + type + "\",\"" + path + "\",\"" + name + "\"\r\n";
}

// The run's Custom folder gets `text` as its one list.
std::vector<Beside> List(const std::string& name, const std::string& text) {
    Touch(kLists + "\\" + name, text);
    // An absolute path stands in for the test program's folder.
    return {{kLists + "\\" + name, "Custom\\" + name}};
}

struct Seen {
    std::optional<DWORD> exitCode;   // nothing: still running at the limit
    std::vector<std::string> boxes;  // messages, in the order they showed
};

// How far a run went: step 1's trace washed, step 11's trace washed, the
// access boxes shown, then the closing box.
struct Expected {
    bool early, late;
    int denied;
    bool logoff;
};

// Presses OK and waits until the box is gone, so that no box counts twice.
bool PressOk(HWND box) {
    const ULONGLONG deadline = GetTickCount64() + kPromptMs;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    while (IsWindow(box) && GetTickCount64() < deadline) Sleep(10);
    return !IsWindow(box);
}

// Presses OK on every box until the run ends or limitMs have passed.
Seen RunToEnd(Scenario& run, DWORD limitMs) {
    Seen seen;
    const ULONGLONG deadline = GetTickCount64() + limitMs;
    while (!(seen.exitCode = run.Wait(20)) && GetTickCount64() < deadline &&
           seen.boxes.size() < kMaxBoxes) {
        for (HWND box : BoxesOf(run.pid)) {
            seen.boxes.push_back(BoxMessage(box));
            PressOk(box);
        }
    }
    return seen;
}

void ExpectOutcome(const Seen& seen, const Expected& want) {
    EXPECT_TRUE(seen.exitCode) << "still running at the limit";
    EXPECT_EQ(seen.exitCode.value_or(~0u), 0u);
    EXPECT_EQ(!KeyExists(kCu, kEarly), want.early) << "step 1 washed";
    EXPECT_EQ(!fs::exists(kLate), want.late) << "step 11 washed";
    std::vector<std::string> boxes(want.denied, kDenied);
    if (want.logoff) boxes.push_back(kLogoff);
    EXPECT_EQ(seen.boxes, boxes);
}

class Hostile : public ::testing::Test {
  protected:
    void SetUp() override { Stage(); }
    void TearDown() override { Clear(); }

    // Fresh canaries and the traces of steps 1 and 11, for the next run.
    static void Stage() {
        Clear();
        for (const Canary& c : CanaryTable()) {
            const bool planted =
                c.root ? SetString(c.root, c.path, "Keep", "keep") : Touch(c.path, "keep");
            ASSERT_TRUE(planted) << c.path;
        }
        for (const char* trace :
             {"\\cookies.txt", "\\history.dat", "\\Cache\\c.dat", "\\mail\\Inbox\\Trash"}) {
            ASSERT_TRUE(Touch(kProfile + trace));
        }
        ASSERT_TRUE(
            SetString(kCu, kEarly + "\\Sub", "v", "trace") &&
            SetString(kCu, kNavigator + "\\Main", "Install Directory", kWork + "\\ns\\Program") &&
            SetString(kCu, kNavigator + "\\biff", "CurrentUser", "u"));
    }

    static void Clear() {
        std::error_code ec;
        for (const Canary& c : CanaryTable()) {
            if (!c.root) fs::remove(c.path, ec);
        }
        for (const std::string& folder : {kWork, kLists, "C:\\windows\\vantrix_hostile"s,
                                          (fs::current_path() / "hostile_sub").string()}) {
            fs::remove_all(folder, ec);
        }
        for (const std::string& locked : kLockedKeys) RemoveTree(kCu, locked);
        for (const std::string& key : {"Software\\VantrixHostileKeep"s,
                                       "Software\\Microsoft\\Internet Explorer\\VantrixKeep"s,
                                       "Software\\Microsoft\\Search Assistant\\VantrixKeep"s, kOwn,
                                       kBars, kAcMru, kNavigator}) {
            RemoveTree(kCu, key);
        }
        RemoveTree(kLm, "Software\\VantrixHostileKeep");
    }

    // Every run of the suite goes through here: started, every box pressed,
    // ended (or stopped at the limit), then every canary checked.
    static Seen Launch(const std::string& name, const std::string& ini,
                       const std::vector<Beside>& beside = {},
                       const std::vector<std::string>& environment = {}, DWORD limitMs = kRunMs) {
        Seen seen;
        {
            ++tally.scenarios;
            Scenario run(name, ini, false, beside, environment);
            EXPECT_EQ("", run.problem);
            if (run.problem.empty()) seen = RunToEnd(run, limitMs);
        }
        ExpectCanaries();
        return seen;
    }

    static void ExpectCanaries() {
        std::string lost;
        for (const Canary& c : CanaryTable()) {
            ++tally.checked;
            char value[16] = {};
            DWORD size = sizeof(value);
            const bool kept = c.root ? RegGetValueA(c.root, c.path.c_str(), "Keep", RRF_RT_REG_SZ,
                                                    nullptr, value, &size) == ERROR_SUCCESS &&
                                           std::string(value) == "keep"
                                     : ReadText(c.path) == "keep";
            if (!kept) {
                ++tally.lost;
                lost += c.path + "\n";
            }
        }
        EXPECT_EQ("", lost) << "canaries lost";
    }

    // Keys given a deny-all descriptor by some test; cleared before removal.
    static const std::vector<std::string> kLockedKeys;
};

const std::vector<std::string> Hostile::kLockedKeys = {
    kBars + "\\Locked", kBars + "\\Deep\\Deeper\\Locked", kAcMru + "\\Locked"};

TEST_F(Hostile, LocalIniTheReaderCannotMakeSenseOf) {
    std::mt19937 random(42);
    std::string garbage(64 * 1024, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    const std::string mib(1 << 20, 'A'), ones(1 << 20, '1');
    std::string utf16 = "\xFF\xFE";
    for (char c : Ini()) utf16 += std::string{c, '\0'};
    const struct {
        std::string name, ini;
        Expected want;
    } cases[] = {
        // Garbage lines are no settings; the sections after them count.
        {"ini_garbage_first", garbage + "\r\n" + Ini(), {true, true, 0, true}},
        // Nothing readable: every switch off, so only the custom step runs,
        // and the missing Custom folder ends the run there.
        {"ini_garbage_only", garbage, {false, false, 0, false}},
        // A 1 MiB line or section name is passed over; a 1 MiB value reads as
        // its first 254 characters, so RunHistory is not "1": no closing box.
        {"ini_long_lines",
         "[Standard Options]\r\n" + mib + "\r\nFindHistory=1\r\nRunHistory=" + ones +
             "\r\nNetscape=1\r\n[" + mib +
             "]\r\nx=1\r\n[Wash Options]\r\nSkipAllCustomWashItems=1\r\n"
             "[Netscape Options]\r\nCookies=1\r\n",
         {true, true, 0, false}},
        // Wine ends a name or a value at a NUL: "FindHistory=1\0..." is on,
        // "Run\0History=1" is a key named Run, so no closing box.
        {"ini_nul_bytes",
         "\0\0\0\0\r\n[Standard Options]\r\nFindHistory=1\0 junk\r\nRun\0History=1\r\n"s
         "Netscape=1\r\n[Wash Options]\r\nSkipAllCustomWashItems=1\r\n"
         "[Netscape Options]\r\nCookies=1\0\r\n"s,
         {true, true, 0, false}},
        // Wine reads a UTF-16 file with a byte-order mark as text: as written.
        {"ini_utf16_bom", utf16, {true, true, 0, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(Stage());
        ExpectOutcome(Launch(c.name, c.ini), c.want);
    }
}

// A few seconds under Wine (one registry round trip a record); the limit
// only has to tell a slow run from a hung one.
TEST_F(Hostile, CustomListOf100000RecordsIsWashedToTheEnd) {
    constexpr int kRecords = 100000;
    const std::string many = kOwn + "\\Many";
    std::string text;
    text.reserve(kRecords * 64);
    for (int i = 0; i < kRecords; ++i) {
        text += Record("V", kOwnFull + "\\Many", "v" + std::to_string(i));
    }
    bool seeded = SetString(kCu, many, "keep", "1");
    for (int i : {0, 1, 50000, kRecords - 1}) {
        seeded &= SetString(kCu, many, "v" + std::to_string(i), "x");
    }
    ASSERT_TRUE(seeded);

    const ULONGLONG start = GetTickCount64();
    ExpectOutcome(Launch("custom_100k", Ini("", true), List("many.lst", text), {}, 300000),
                  {true, true, 0, true});
    std::printf("100000 records: %llu ms\n", GetTickCount64() - start);
    EXPECT_EQ(ValueCount(kCu, many), 1u);
    EXPECT_TRUE(ValueExists(kCu, many, "keep"));
}

// The quote missing after the "F" path runs that field on to the next quote:
// the records after it are misread, none names a real file, and the list
// then ends inside a record, which ends the run at the custom step.
TEST_F(Hostile, CustomListWithAnUnbalancedQuote) {
    const std::string quotes = kOwn + "\\Quotes";
    ASSERT_TRUE(SetString(kCu, quotes, "first", "x") && SetString(kCu, quotes, "second", "x") &&
                Touch(kCustom + "\\a.txt"));
    const std::string text = Record("V", kOwnFull + "\\Quotes", "first") + "\"F\",\"" + kCustom +
                             "\\*.txt,\"\"\r\n" + Record("V", kOwnFull + "\\Quotes", "second");

    ExpectOutcome(Launch("custom_quotes", Ini("", true), List("quotes.lst", text)),
                  {true, false, 0, false});
    EXPECT_FALSE(ValueExists(kCu, quotes, "first"));
    EXPECT_TRUE(ValueExists(kCu, quotes, "second"));
    EXPECT_TRUE(fs::exists(kCustom + "\\a.txt"));
}

// Random bytes make fields, but no root name nor full path: nothing is
// deleted. Whether they end inside a record depends on the bytes; either
// the run ends at the custom step (no Netscape, no box) or goes through.
TEST_F(Hostile, CustomListOfBinaryData) {
    std::mt19937 random(7);
    std::string bytes(64 * 1024, '\0');
    for (char& c : bytes) c = static_cast<char>(random());

    const Seen seen = Launch("custom_binary", Ini("", true), List("binary.lst", bytes));
    const bool through = !seen.boxes.empty();
    ExpectOutcome(seen, {true, through, 0, through});
}

TEST_F(Hostile, CustomRecordsThatNameNoTargetDeleteNothing) {
    const struct {
        std::string name, list;
        Expected want;
    } cases[] = {
        // A root alone names no key: the run goes on, every key stays.
        {"custom_root_keys",
         Record("K", "HKEY_CURRENT_USER\\") + Record("K", "HKEY_LOCAL_MACHINE\\") +
             Record("K", "HKEY_USERS\\") + Record("K", "HKEY_CLASSES_ROOT\\") +
             Record("K", "HKEY_CURRENT_USER\\\\"),
         {true, true, 0, true}},
        // Not full paths: each would name a canary from the working folder.
        // Those with a folder part come first: they could be joined to a
        // name found and deleted, where a bare name could only fail.
        {"custom_relative_paths",
         Record("F", "\\vantrix_hostile.txt") + Record("F", "..\\vantrix_hostile.txt") +
             Record("F", "hostile_sub\\*.txt") + Record("F", "hostile_sub\\") +
             Record("F", ".\\hostile_sub\\keep.txt") + Record("F", "C:vantrix_hostile.txt") +
             Record("F", "*.txt") + Record("F", "vantrix_hostile.txt"),
         {true, true, 0, true}},
        // No Custom folder ends the run at the custom step.
        {"custom_folder_missing", "", {true, false, 0, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(Stage());
        const std::vector<Beside> lists =
            c.list.empty() ? std::vector<Beside>{} : List(c.name + ".lst", c.list);
        ExpectOutcome(Launch(c.name, Ini("", true), lists), c.want);
    }
}

// Every name is handled relative to its parent's handle, so depth is no
// limit; the tree goes with Explorer Bars and the run goes on.
TEST_F(Hostile, RegistryTree500LevelsDeepGoesWithExplorerBars) {
    ASSERT_TRUE(CreateChain(kCu, kBars + "\\Deep", std::vector<std::string>(500, "L"), "v"));
    ASSERT_TRUE(ChainExists(kCu, kBars + "\\Deep", std::vector<std::string>(500, "L")));

    ExpectOutcome(Launch("deep_tree", Ini()), {true, true, 0, true});
    EXPECT_FALSE(KeyExists(kCu, kBars));
}

// 255-character names go with their tree, and so does a record whose own
// path passes 260 characters: the wide calls know no such limit.
TEST_F(Hostile, KeysWith255CharacterNamesGoByACustomRecord) {
    const std::string a(255, 'A'), b(255, 'B'), c(255, 'C'), d(255, 'D'), e(40, 'E');
    ASSERT_TRUE(CreateChain(kCu, kOwn + "\\Long", {a}, std::string(255, 'v')) &&
                CreateChain(kCu, kOwn + "\\Long", {a, b, c}, std::string(255, 'v')) &&
                CreateChain(kCu, kOwn + "\\Far", {d, e, "Sub"}, "v"));
    const std::string list =
        Record("K", kOwnFull + "\\Long") + Record("K", kOwnFull + "\\Far\\" + d + "\\" + e);

    ExpectOutcome(Launch("long_names", Ini("", true), List("long.lst", list)),
                  {true, true, 0, true});
    EXPECT_FALSE(KeyExists(kCu, kOwn + "\\Long"));
    EXPECT_FALSE(ChainExists(kCu, kOwn + "\\Far", {d, e}));
    EXPECT_TRUE(ChainExists(kCu, kOwn + "\\Far", {d}));
}

// One box per key that can be neither deleted nor opened (a subkey keeps it
// from going), at any depth; after each OK the run goes on.
TEST_F(Hostile, KeysThatRefuseEverythingAskOnceEachAndTheRunFinishes) {
    for (const std::string& locked : kLockedKeys) {
        ASSERT_TRUE(SetString(kCu, locked + "\\Inner", "v", "1")) << locked;
    }
    ASSERT_TRUE(SetString(kCu, kBars + "\\Free\\Inner", "v", "1"));
    for (const std::string& locked : kLockedKeys) ASSERT_TRUE(DenyAll(kCu, locked)) << locked;

    ExpectOutcome(Launch("deny_all", Ini()), {true, true, 3, true});
    EXPECT_EQ(Subkeys(kCu, kBars), (std::vector<std::string>{"Deep", "Locked"}));
    EXPECT_EQ(Subkeys(kCu, kBars + "\\Deep\\Deeper"), std::vector<std::string>{"Locked"});
    EXPECT_EQ(Subkeys(kCu, kAcMru), std::vector<std::string>{"Locked"});
}

// The Temp washer leaves folders alone that hold the system or the profile
// (the Windows folder is also what the system falls back on).
TEST_F(Hostile, TempAimedAtTheSystemDeletesNothing) {
    const char* profile = std::getenv("USERPROFILE");
    ASSERT_TRUE(profile);
    for (const std::string& temp : {"C:\\"s, "C:\\windows"s, std::string(profile)}) {
        SCOPED_TRACE(temp);
        ASSERT_NO_FATAL_FAILURE(Stage());
        ExpectOutcome(Launch("temp_system", Ini("TempFiles=1\r\n"), {}, TempAt(temp)),
                      {true, true, 0, true});
    }
}

// Temp, Netscape's cache and mail trash pass over a file in use; the Office
// shortcuts, IE cookies, custom files and the Netscape cookie file end the
// run at their item.
TEST_F(Hostile, LockedFileInEveryWashedFolder) {
    const SavedValue appData(kCu, kExplorer + "\\Shell Folders", "AppData");
    const SavedValue cookies(kCu, kExplorer + "\\Shell Folders", "Cookies");
    const SavedValue userCookies(kCu, kExplorer + "\\User Shell Folders", "Cookies");
    const std::string values = kOwn + "\\Values";
    const struct {
        std::string name, locked, ini;
        bool goesOn;
        std::vector<std::string> environment;
        std::string list;
    } cases[] = {
        {"locked_temp", kTemp + "\\locked.txt", Ini("TempFiles=1\r\n"), true, TempAt(kTemp), ""},
        {"locked_custom",
         kCustom + "\\locked.txt",
         Ini("", true),
         false,
         {},
         Record("V", kOwnFull + "\\Values", "first") + Record("F", kCustom + "\\*.txt") +
             Record("V", kOwnFull + "\\Values", "second")},
        {"locked_office", kRecent + "\\locked.lnk", Ini("MSOfficeTrack=1\r\n"), false, {}, ""},
        {"locked_ie_cookie",
         kCookies + "\\locked.txt",
         Ini("IE=1\r\n", false, "[IEOptions]\r\nCookies=1\r\n"),
         false,
         {},
         ""},
        {"locked_netscape_cache", kProfile + "\\Cache\\c.dat", Ini(), true, {}, ""},
        {"locked_netscape_cookie", kLate, Ini(), false, {}, ""},
        {"locked_netscape_trash", kProfile + "\\mail\\Inbox\\Trash", Ini(), true, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(Stage());
        // Wine's WinINet copies the "User Shell Folders" value over the seed.
        RegDeleteKeyValueA(kCu, (kExplorer + "\\User Shell Folders").c_str(), "Cookies");
        ASSERT_TRUE(SetString(kCu, kExplorer + "\\Shell Folders", "AppData", kAppData) &&
                    SetString(kCu, kExplorer + "\\Shell Folders", "Cookies", kCookies) &&
                    SetString(kCu, values, "first", "x") && SetString(kCu, values, "second", "x"));
        for (const std::string& file : {kTemp + "\\a.txt", kTemp + "\\Dir\\b.txt", c.locked}) {
            ASSERT_TRUE(Touch(file));
        }
        const win32::UniqueFileHandle held = Lock(c.locked);
        ASSERT_TRUE(held) << c.locked;
        const std::vector<Beside> lists =
            c.list.empty() ? std::vector<Beside>{} : List(c.name + ".lst", c.list);

        const bool lateWashed = c.goesOn && c.locked != kLate;
        ExpectOutcome(Launch(c.name, c.ini, lists, c.environment), {true, lateWashed, 0, c.goesOn});
        EXPECT_TRUE(fs::exists(c.locked));
        if (c.name == "locked_temp") {
            EXPECT_FALSE(fs::exists(kTemp + "\\a.txt"));
            EXPECT_FALSE(fs::exists(kTemp + "\\Dir"));
        } else if (c.name == "locked_custom") {
            EXPECT_FALSE(ValueExists(kCu, values, "first"));
            EXPECT_TRUE(ValueExists(kCu, values, "second"));
        } else if (c.name == "locked_netscape_cookie") {
            EXPECT_TRUE(fs::exists(kProfile + "\\history.dat")) << "the next washer ran";
        }
    }
}

// The first run is held mid-run by an access box (step 1); a second start
// with every item on must end at once and touch nothing, and the first then
// finishes its run.
TEST_F(Hostile, SecondStartMidRunLeavesAtOnceAndTouchesNothing) {
    const std::string acMruTrace = kAcMru + "\\{E2E-Hostile}";
    ASSERT_TRUE(SetString(kCu, kBars + "\\Locked\\Inner", "v", "1") &&
                DenyAll(kCu, kBars + "\\Locked") && SetString(kCu, acMruTrace, "v", "1") &&
                SetString(kCu, kOwn + "\\Second", "v", "1"));
    ++tally.scenarios;
    Scenario first("mid_run_first", Ini());
    ASSERT_EQ("", first.problem);
    ASSERT_TRUE(first.Watch(kBoxShowMs).boxShown);
    const HWND box = BoxesOf(first.pid).front();
    ASSERT_EQ(kDenied, BoxMessage(box));

    const std::string everything =
        Ini("DocumentHistory=1\r\nRecycleBin=1\r\nMediaPlayer=1\r\nTempFiles=1\r\n"
            "ScanTempFiles=1\r\nMSOfficeTrack=1\r\nIE=1\r\n",
            true, "[IEOptions]\r\nCookies=1\r\nDownloadDir=1\r\n");
    const Seen second =
        Launch("mid_run_second", everything, List("second.lst", Record("K", kOwnFull + "\\Second")),
               {}, kPromptMs);
    EXPECT_EQ(second.exitCode, 0u);
    EXPECT_TRUE(second.boxes.empty());
    EXPECT_TRUE(KeyExists(kCu, acMruTrace));
    EXPECT_TRUE(KeyExists(kCu, kOwn + "\\Second"));
    EXPECT_TRUE(fs::exists(kLate));
    EXPECT_FALSE(first.Wait(0)) << "the first must still hold its box";

    ASSERT_TRUE(PressOk(box));
    const Seen rest = RunToEnd(first, kRunMs);
    EXPECT_EQ(rest.exitCode, 0u);
    EXPECT_EQ(rest.boxes, std::vector<std::string>{kLogoff});
    EXPECT_FALSE(KeyExists(kCu, acMruTrace));
    EXPECT_FALSE(fs::exists(kLate));
    ExpectCanaries();
}

}  // namespace
}  // namespace vw::e2e
