// Links, names in any script and paths of any depth, on Wine's real file
// system and registry. A Windows program under Wine can make no link:
// stage_sandbox.sh stages them under C:\e2e_nl, each leading to a canary in
// C:\e2e_nl\canary, a folder no wash names.
#include "harness.h"
// Needs <windows.h>, which the harness brings.
#include <gtest/gtest.h>

#include <cstdio>

namespace vw::e2e {
namespace {

const std::string kNl = "C:\\e2e_nl";
const std::string kLists = "C:\\e2e_nl_lists";
const std::string kShellFolders = kExplorer + "\\Shell Folders";
const std::string kUserShellFolders = kExplorer + "\\User Shell Folders";
const std::string kBars = "Software\\Microsoft\\Internet Explorer\\Explorer Bars";
const std::string kSearch = "Software\\Microsoft\\Search Assistant";
const std::string kAccess = "Software\\Microsoft\\Office\\9.0\\Access\\Settings";
const std::string kTyped = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const std::string kCustomKeys = "Software\\VantrixCustom";
const std::string kNetscape = "Software\\Netscape";
const std::string kStore = "Software\\VB and VBA Program Settings\\Vantrix\\NProfile";

std::wstring W(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                      static_cast<int>(utf8.size()), wide.data(),
                                      static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n : 0);
    return wide;
}

// Any depth, any name: the test's own files are made and checked this way.
std::wstring Long(const std::string& path) {
    return L"\\\\?\\" + W(path);
}

bool ExistsW(const std::string& path) {
    return GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool PlantW(const std::string& path, const std::string& text = "x") {
    for (auto slash = path.find('\\', 3); slash != std::string::npos;
         slash = path.find('\\', slash + 1)) {
        CreateDirectoryW(Long(path.substr(0, slash)).c_str(), nullptr);
    }
    const win32::UniqueFileHandle file(CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

// Only for trees the test made itself: under Wine a file link cannot be told
// from a file, and deleting one deletes its target.
void WipeW(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    win32::UniqueFindHandle find(FindFirstFileW((path + L"\\*").c_str(), &data));
    for (bool more = static_cast<bool>(find); more; more = FindNextFileW(find.get(), &data)) {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    }
    find.reset();
    for (const std::wstring& name : names) WipeW(path + L"\\" + name);
    RemoveDirectoryW(path.c_str());
}

// Canaries of C:\e2e_nl\canary as staged: a file holds "canary <name>", as
// does its hard link <name>.twin, which outlives a deletion through a link;
// a folder holds nothing (its name ends in "_empty") or keep.txt.
std::string Harmed(const std::vector<std::string>& canaries) {
    std::string harmed;
    for (const std::string& name : canaries) {
        const std::string path = kNl + "\\canary\\" + name;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        const bool folder = name.find('.') == std::string::npos;
        const bool empty = folder && name.size() > 6 && name.substr(name.size() - 6) == "_empty";
        if (!folder && ReadText(path + ".twin") != "canary " + name) {
            harmed += path + " was written through a link\n";
        }
        if (attributes == INVALID_FILE_ATTRIBUTES ||
            ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder) {
            harmed += path + " is gone\n";
        } else if (!empty &&
                   (folder ? ReadText(path + "\\keep.txt") != "canary " + name + "/keep.txt"
                           : ReadText(path) != "canary " + name)) {
            harmed += path + (folder ? " lost its file\n" : " was written over or emptied\n");
        }
    }
    return harmed;
}

// The staged links of C:\e2e_nl that are missing.
std::string Unstaged(const std::vector<std::string>& links) {
    std::string missing;
    for (const std::string& link : links) {
        if (GetFileAttributesA((kNl + "\\" + link).c_str()) == INVALID_FILE_ATTRIBUTES) {
            missing += kNl + "\\" + link + " is not staged\n";
        }
    }
    return missing;
}

std::string CustomIni(bool addBleach) {
    return std::string("[Standard Options]\r\n[Wash Options]\r\nSkipAllCustomWashItems=0\r\n") +
           (addBleach ? "AddBleach=1\r\n" : "");
}

// The run's Custom folder gets one list holding `text`.
std::vector<Beside> List(const std::string& name, const std::string& text) {
    const std::string path = kLists + "\\" + name + ".lst";
    // An absolute path stands in for the test program's folder.
    return Touch(path, text) ? std::vector<Beside>{{path, "Custom\\wash.lst"}}
                             : std::vector<Beside>{{path + " (not written)", "Custom\\wash.lst"}};
}

// One wash over staged links: every canary keeps its bytes, while the plain
// files planted beside the links go.
struct LinkRun {
    std::string name, ini;
    std::string list;  // the custom list, if any
    std::vector<std::string> links, canaries, goes;
};

std::ostream& operator<<(std::ostream& out, const LinkRun& run) {
    return out << run.name;
}

const char* const kCustomOff = "\"F\",\"C:\\e2e_nl\\CustomOff\\\",\"\"\r\n";
const char* const kCustomOn = "\"F\",\"C:\\e2e_nl\\CustomOn\\\",\"\"\r\n";

const LinkRun kLinkRuns[] = {
    {"temp",
     LocalIni(false, "TempFiles"),
     "",
     {"Temp\\link.txt", "Temp\\Sub\\link.txt", "Temp\\dirlink", "Temp\\emptylink"},
     {"temp.txt", "temp_sub.txt", "temp_dir", "temp_empty"},
     {"Temp\\plain.txt", "Temp\\Sub\\plain.txt", "Temp\\Plain\\plain.txt"}},
    {"custom_off",
     CustomIni(false),
     kCustomOff,
     {"CustomOff\\link.txt"},
     {"custom_off.txt"},
     {"CustomOff\\plain.txt"}},
    {"custom_bleach",
     CustomIni(true),
     kCustomOn,
     {"CustomOn\\link.txt"},
     {"custom_on.txt"},
     {"CustomOn\\plain.txt"}},
    {"netscape",
     LocalIni(false, "Netscape") + "[Netscape Options]\r\nCache=1\r\nCookies=1\r\nClean=1\r\n",
     "",
     {"Profile\\Cache\\link.dat", "Profile\\cookies.txt", "Profile\\history.dat"},
     {"cache.txt", "cookies.txt", "history.txt"},
     {"Profile\\Cache\\plain.dat", "Profile\\netscape.hst"}},
    {"office_recent",
     LocalIni(false, "MSOfficeTrack"),
     "",
     {"AppData\\Microsoft\\Office\\Recent\\report.doc.lnk"},
     {"office.txt"},
     {"AppData\\Microsoft\\Office\\Recent\\plain.doc.lnk"}},
    {"ie_cookies",
     LocalIni(false, "IE") + "[IEOptions]\r\nCookies=1\r\n",
     "",
     {"Cookies\\link.txt"},
     {"ie_cookie.txt"},
     {"Cookies\\plain.txt"}},
};

class LinksInWashedFolders : public ::testing::TestWithParam<LinkRun> {
  protected:
    void SetUp() override {
        // Wine's WinINet copies the "User Shell Folders" value over the seed.
        RegDeleteKeyValueA(kCu, kUserShellFolders.c_str(), "Cookies");
        ASSERT_TRUE(SetString(kCu, kShellFolders, "Cookies", kNl + "\\Cookies") &&
                    SetString(kCu, kShellFolders, "AppData", kNl + "\\AppData") &&
                    SetString(kLm, kNetscape + "\\Netscape 6", "CurrentVersion", "6.2 (en)") &&
                    SetString(kCu, kStore, "SelectedNProfile", "one|") &&
                    SetString(kCu, kStore, "1", kNl + "\\Profile"));
    }
    void TearDown() override {
        RemoveTree(kLm, kNetscape);
        RemoveTree(kCu, "Software\\VB and VBA Program Settings");
        WipeW(Long(kLists));
        // Plain files only: the folders hold the staged links.
        for (const std::string& file : GetParam().goes) DeleteFileA((kNl + "\\" + file).c_str());
        RemoveDirectoryA((kNl + "\\Temp\\Plain").c_str());
    }

    SavedValue userCookies{kCu, kUserShellFolders, "Cookies"};
    SavedValue cookies{kCu, kShellFolders, "Cookies"};
    SavedValue appData{kCu, kShellFolders, "AppData"};
};

TEST_P(LinksInWashedFolders, NothingIsDeletedOrWrittenThroughALink) {
    const LinkRun& run = GetParam();
    ASSERT_EQ("", Unstaged(run.links));
    ASSERT_EQ("", Harmed(run.canaries)) << "a run before this one went through the links";
    for (const std::string& file : run.goes) ASSERT_TRUE(Touch(kNl + "\\" + file)) << file;
    Canaries canaries;

    Scenario("links_" + run.name, run.ini, false,
             run.list.empty() ? std::vector<Beside>{} : List(run.name, run.list),
             TempAt(kNl + "\\Temp"))
        .ExpectQuietEnd();
    EXPECT_EQ("", Harmed(run.canaries));
    for (const std::string& file : run.goes) {
        EXPECT_FALSE(ExistsW(kNl + "\\" + file)) << file << " is left: the run did not go on";
    }
    EXPECT_EQ("", canaries.Damage());
}

INSTANTIATE_TEST_SUITE_P(EachWasher, LinksInWashedFolders, ::testing::ValuesIn(kLinkRuns),
                         [](const auto& info) { return info.param.name; });

// G: is staged on C:\e2e_nl\groot, an empty folder; for this run it is
// swapped with gstaged, whose FOUND.000 and FOUND.001 are links to folders
// (the first empty) and whose FOUND.003 holds a file link.
class LinksInFoundFolders : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(GetDriveTypeA("G:\\"), static_cast<UINT>(DRIVE_FIXED)) << "G: is not staged";
        ASSERT_EQ("", Unstaged({"gstaged\\FOUND.000", "gstaged\\FOUND.001",
                                "gstaged\\FOUND.003\\link.txt"}));
        ASSERT_EQ("", Harmed(kCanaries)) << "a run before this one went through the links";
        for (const char* drive : {"C:", "D:"}) {
            for (int n = 0; n <= 10; ++n) {
                char folder[16];
                snprintf(folder, sizeof folder, "%s\\FOUND.%03d", drive, n);
                ASSERT_FALSE(ExistsW(folder)) << "left over: " << folder;
            }
        }
        ASSERT_TRUE(MoveFileA(kRoot.c_str(), kSpare.c_str()));
        ASSERT_TRUE(MoveFileA(kStaged.c_str(), kRoot.c_str()));
    }
    void TearDown() override {
        for (const char* file :
             {"\\FILE0000.CHK", "\\FOUND.002\\a.txt", "\\FOUND.003\\b.txt", "\\FOUND.004\\c.txt"}) {
            DeleteFileA(("G:" + std::string(file)).c_str());
        }
        RemoveDirectoryA("G:\\FOUND.002");
        RemoveDirectoryA("G:\\FOUND.004");
        if (ExistsW(kSpare)) {
            EXPECT_TRUE((!ExistsW(kRoot) || MoveFileA(kRoot.c_str(), kStaged.c_str())) &&
                        MoveFileA(kSpare.c_str(), kRoot.c_str()))
                << "G: is left staged";
        }
    }

    const std::string kRoot = kNl + "\\groot", kStaged = kNl + "\\gstaged",
                      kSpare = kNl + "\\gspare";
    const std::vector<std::string> kCanaries = {"found_empty", "found_dir", "found.txt"};
};

// A folder link is passed over and the run goes on; a folder that keeps a
// link it could not remove ends the run there, as any failure does here.
TEST_F(LinksInFoundFolders, FolderLinksArePassedOverAndALinkLeftInsideEndsTheRun) {
    for (const char* file :
         {"\\FILE0000.CHK", "\\FOUND.002\\a.txt", "\\FOUND.003\\b.txt", "\\FOUND.004\\c.txt"}) {
        ASSERT_TRUE(Touch("G:" + std::string(file))) << file;
    }
    Canaries canaries;

    Scenario("links_found", LocalIni(false, "ScanTempFiles")).ExpectQuietEnd();
    EXPECT_EQ("", Harmed(kCanaries));
    EXPECT_FALSE(ExistsW("G:\\FILE0000.CHK"));
    EXPECT_FALSE(ExistsW("G:\\FOUND.002")) << "the run ended at a folder link";
    EXPECT_FALSE(ExistsW("G:\\FOUND.003\\b.txt"));
    // On Windows the link itself goes, and with it its folder.
    EXPECT_EQ(ExistsW("G:\\FOUND.003"), UnderWine());
    EXPECT_EQ(ExistsW("G:\\FOUND.004"), UnderWine());
    EXPECT_EQ("", canaries.Damage());
}

// Folders of the test's own, named in Unicode and removed whole after it.
class OwnTree : public ::testing::Test {
  protected:
    void SetUp() override { WipeW(Long(kBase)); }
    void TearDown() override { WipeW(Long(kBase)); }

    // Every planted file the run left although it goes, or removed although
    // it stays.
    static std::string Wrong(const std::vector<std::pair<std::string, bool>>& files) {
        std::string wrong;
        for (const auto& [path, goes] : files) {
            if (ExistsW(path) == goes) wrong += path + (goes ? " is left\n" : " is gone\n");
        }
        return wrong;
    }

    const std::string kBase = "C:\\e2e_own", kTemp = kBase + "\\Temp";
};

TEST_F(OwnTree, TempFilesAndFoldersNamedInAnyScriptAreRemoved) {
    std::vector<std::pair<std::string, bool>> files;
    for (const char* name :
         {"日本語.txt", "Ёлка.TXT", "Ελληνικά.txt", "😀.txt", "a😀b", "Папка\\файл.txt",
          "Φάκελος\\Υπο\\αρχείο.txt", "中文文件夹\\子\\文件.txt", "😀\\😀.txt"}) {
        files.emplace_back(kTemp + "\\" + name, true);
    }
    files.emplace_back(kBase + "\\Папка\\keep.txt", false);
    files.emplace_back(kBase + "\\日本語.txt", false);
    for (const auto& file : files) ASSERT_TRUE(PlantW(file.first)) << file.first;
    Canaries canaries;

    Scenario("names_temp", LocalIni(false, "TempFiles"), false, {}, TempAt(kTemp)).ExpectQuietEnd();
    EXPECT_EQ("", Wrong(files));
    for (const char* folder : {"Папка", "Φάκελος", "中文文件夹", "😀"}) {
        EXPECT_FALSE(ExistsW(kTemp + "\\" + folder)) << folder;
    }
    EXPECT_TRUE(ExistsW(kTemp));
    EXPECT_EQ("", canaries.Damage());
}

TEST_F(OwnTree, TempTreeDeeperThanMaxPathIsRemovedWhole) {
    std::string deep = kTemp;
    for (char c = 'a'; c < 'i'; ++c) deep += "\\" + std::string(40, c);
    const std::vector<std::pair<std::string, bool>> files = {
        {deep + "\\file.txt", true},
        {deep + "\\Глубже\\файл.txt", true},
        {kTemp + "\\" + std::string(40, 'a') + "\\side.txt", true},
        // Only its full path is longer than MAX_PATH.
        {kTemp + "\\" + std::string(250, 'n') + ".txt", true},
        {kBase + "\\keep.txt", false}};
    ASSERT_GT(deep.size(), MAX_PATH + 80u);
    for (const auto& file : files) ASSERT_TRUE(PlantW(file.first)) << file.first;
    Canaries canaries;

    Scenario("deep_temp", LocalIni(false, "TempFiles"), false, {}, TempAt(kTemp)).ExpectQuietEnd();
    EXPECT_EQ("", Wrong(files));
    EXPECT_FALSE(ExistsW(kTemp + "\\" + std::string(40, 'a')));
    EXPECT_TRUE(ExistsW(kTemp));
    EXPECT_EQ("", canaries.Damage());
}

// A key (empty value name) or a value, and whether the run removes it.
struct RegItem {
    HKEY root;
    std::string key, value;
    bool goes;
};

bool SeedW(const RegItem& item) {
    HKEY raw = nullptr;
    const bool created = RegCreateKeyExW(item.root, W(item.key).c_str(), 0, nullptr, 0,
                                         KEY_ALL_ACCESS, nullptr, &raw, nullptr) == ERROR_SUCCESS;
    const win32::UniqueRegKey key(raw);
    const std::wstring data = L"x";
    return created && (item.value.empty() ||
                       RegSetValueExW(key.get(), W(item.value).c_str(), 0, REG_SZ,
                                      reinterpret_cast<const BYTE*>(data.c_str()),
                                      static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) ==
                           ERROR_SUCCESS);
}

bool PresentW(const RegItem& item) {
    HKEY raw = nullptr;
    const bool open =
        RegOpenKeyExW(item.root, W(item.key).c_str(), 0, KEY_READ, &raw) == ERROR_SUCCESS;
    const win32::UniqueRegKey key(raw);
    return open &&
           (item.value.empty() || RegQueryValueExW(key.get(), W(item.value).c_str(), nullptr,
                                                   nullptr, nullptr, nullptr) == ERROR_SUCCESS);
}

class RegistryNames : public ::testing::Test {
  protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        // The ANSI tree functions cannot see names outside the code page.
        for (const std::string& key :
             {kBars, kSearch, std::string("Software\\Microsoft\\Office"), kCustomKeys,
              std::string("Software\\Microsoft\\Internet Explorer\\Ключ")}) {
            RegDeleteTreeW(kCu, W(key).c_str());
        }
        WipeW(Long(kLists));
    }

    static std::string Wrong(const std::vector<RegItem>& items) {
        std::string wrong;
        for (const RegItem& item : items) {
            if (PresentW(item) == item.goes) {
                wrong += item.key + " " + item.value + (item.goes ? " is left\n" : " is gone\n");
            }
        }
        return wrong;
    }
};

TEST_F(RegistryNames, KeysAndValuesNamedInAnyScriptGoWithoutABox) {
    const std::vector<RegItem> items = {
        {kCu, kBars + "\\{Ключ}\\日本語", "Значение", true},
        {kCu, kBars + "\\😀", "😀", true},
        {kCu, kBars + "\\Ελληνικά", "", true},
        {kCu, kBars, "", true},
        {kCu, "Software\\Microsoft\\Internet Explorer\\Ключ", "", false},
        {kCu, kSearch + "\\ACMru\\Поиск", "000", true},
        {kCu, kSearch + "\\Поиск", "", false},
        {kCu, kAccess, "MRUДокумент", true},
        {kCu, kAccess, "mru日本", true},
        {kCu, kAccess, "ДокументMRU", false},
        // The custom list names these in UTF-8, some in another case.
        {kCu, kCustomKeys + "\\Ключ\\日本\\😀", "Значение", true},
        {kCu, kCustomKeys + "\\Ключ", "", true},
        {kCu, kCustomKeys + "\\Ключ2", "", false},
        {kCu, kCustomKeys + "\\ΑΘΗΝΑ", "", true},
        {kCu, kCustomKeys + "\\ЁЖИК", "", true},
        {kCu, kCustomKeys + "\\Значения", "Секрет", true},
        {kCu, kCustomKeys + "\\Значения", "Другое", false},
    };
    for (const RegItem& item : items) ASSERT_TRUE(SeedW(item)) << item.key << " " << item.value;
    const std::string hkcu = "HKEY_CURRENT_USER\\" + kCustomKeys;
    const std::string list = "\xEF\xBB\xBF\"K\",\"" + hkcu + "\\Ключ\",\"\"\r\n\"K\",\"" + hkcu +
                             "\\αθηνα\",\"\"\r\n\"K\",\"" + hkcu + "\\ёжик\",\"\"\r\n\"V\",\"" +
                             hkcu + "\\Значения\",\"Секрет\"\r\n";
    std::string ini = LocalIni(false, "FindHistory MSOfficeTrack") + "[MSOffice]\r\nMSAccess=1\r\n";
    ini.replace(ini.find("SkipAllCustomWashItems=1"), 24, "SkipAllCustomWashItems=0");
    Canaries canaries;

    Scenario("names_registry", ini, false, List("names", list)).ExpectQuietEnd();
    EXPECT_EQ("", Wrong(items));
    EXPECT_EQ("", canaries.Damage());
}

// Wine's URL history store fails the IE step before it reaches TypedURLs.
TEST_F(RegistryNames, TypedUrlsNamedInAnyScriptGo) {
    if (UnderWine()) GTEST_SKIP() << "the Clean History step cannot finish under Wine";
    const std::vector<RegItem> items = {{kCu, kTyped, "url1", true},
                                        {kCu, kTyped + "\\Ключ", "日本", true}};
    for (const RegItem& item : items) ASSERT_TRUE(SeedW(item));
    Scenario("names_typed", LocalIni(false, "IE") + "[IEOptions]\r\nCleanHistory=1\r\n")
        .ExpectQuietEnd();
    EXPECT_EQ("", Wrong(items));
    EXPECT_TRUE(KeyExists(kCu, kTyped)) << "made again, empty";
}

}  // namespace
}  // namespace vw::e2e
