// The file washers on Wine's real file system: the Temp folder, the Scandisk
// leftovers on drives of each type, the custom lists and bleaching. The link
// in the Temp folder and the drives D: to F: are staged by stage_sandbox.sh.
#include "harness.h"
// Needs <windows.h>, which the harness brings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace vw::e2e {
namespace {

constexpr DWORD kRo = FILE_ATTRIBUTE_READONLY, kHidden = FILE_ATTRIBUTE_HIDDEN,
                kSystem = FILE_ATTRIBUTE_SYSTEM;

// Staged: Temp\link leads to outside, a folder beside the Temp folder's parent.
const std::string kLinks = "C:\\e2e_links";
const std::string kTemp = kLinks + "\\parent\\Temp";
const std::string kCustom = "C:\\e2e_custom";
const std::string kLists = "C:\\e2e_lists";
const std::string kCustomKeys = "Software\\VantrixCustom";

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Entry names of a folder in the order the system lists them.
std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data{};
    win32::UniqueFindHandle find(FindFirstFileA((folder + "\\*").c_str(), &data));
    for (bool more = static_cast<bool>(find); more; more = FindNextFileA(find.get(), &data)) {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    }
    return names;
}

// Removes a file or folder tree whatever its attributes; a link is never
// entered (and stays where Wine cannot remove it).
void Wipe(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        for (const std::string& name : Names(path)) Wipe(path + "\\" + name);
    }
    RemoveDirectoryA(path.c_str());
}

// Creates the file and its folders; false when any step fails.
bool Plant(const std::string& path, DWORD attributes = 0, const std::string& text = "x") {
    Wipe(path);
    return Touch(path, text) && (attributes == 0 || SetFileAttributesA(path.c_str(), attributes));
}

// A file a run must delete (goes) or leave alone.
struct Item {
    std::string path;
    DWORD attributes;
    bool goes;
};

// Plants every item; the first one that fails, or empty.
std::string PlantAll(const std::vector<Item>& items) {
    for (const Item& item : items) {
        if (!Plant(item.path, item.attributes)) return item.path;
    }
    return {};
}

// Every item the run left although it goes, or removed although it stays.
std::string Wrong(const std::vector<Item>& items) {
    std::string wrong;
    for (const Item& item : items) {
        if (Exists(item.path) == item.goes) {
            wrong += item.path + (item.goes ? " is left\n" : " is gone\n");
        }
    }
    return wrong;
}

TEST(TempFiles, EmptiesTheTempFolderButKeepsWhatItMustAndNeverLeavesIt) {
    const std::string link = kTemp + "\\link", outside = kLinks + "\\outside\\keep.txt";
    const DWORD linkBits = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY;
    ASSERT_EQ(GetFileAttributesA(link.c_str()) & linkBits, linkBits) << "no staged link " << link;
    for (const std::string& name : Names(kTemp)) {
        if (name != "link") Wipe(kTemp + "\\" + name);
    }
    std::vector<Item> items = {{kTemp + "\\plain.txt", 0, true},
                               {kTemp + "\\readonly.txt", kRo, true},
                               {kTemp + "\\hidden.txt", kHidden, true},
                               {kTemp + "\\hidden_readonly.txt", kHidden | kRo, true},
                               {kTemp + "\\Nest\\a.txt", 0, true},
                               {kTemp + "\\Nest\\Deeper\\readonly.txt", kRo, true},
                               {kTemp + "\\Nest\\Deeper\\Deepest\\readonly.txt", kRo, true},
                               {kTemp + "\\system.sys", kSystem, false},
                               {kTemp + "\\Hid\\keep.txt", 0, false},
                               {kLinks + "\\parent\\keep.txt", 0, false},
                               {kLinks + "\\parent\\Sibling\\keep.txt", 0, false},
                               {outside, 0, false}};
    ASSERT_EQ("", PlantAll(items));
    ASSERT_TRUE(SetFileAttributesA((kTemp + "\\Hid").c_str(), kHidden));
    // The first file the washer lists is held, so every other comes after it.
    auto held = items.end();
    for (const std::string& name : Names(kTemp)) {
        held = std::find_if(items.begin(), items.end(), [&](const Item& item) {
            return item.goes && item.path == kTemp + "\\" + name;
        });
        if (held != items.end()) break;
    }
    ASSERT_TRUE(held != items.end());
    held->goes = false;
    const win32::UniqueFileHandle hold = Lock(held->path);
    ASSERT_TRUE(hold) << held->path;
    Canaries canaries;

    Scenario("temp_files", LocalIni(false, "TempFiles"), false, {}, TempAt(kTemp)).ExpectQuietEnd();
    EXPECT_EQ("", Wrong(items));
    EXPECT_FALSE(Exists(kTemp + "\\Nest"));
    EXPECT_TRUE(Exists(kTemp)) << "the Temp folder itself";
    EXPECT_EQ("x", ReadText(outside)) << "the link was followed";
    EXPECT_EQ("", canaries.Damage());
}

// Emptying either would wreck the machine; the Windows folder is also where
// the temp path ends up when no temp variable is set.
TEST(TempFiles, RootAndWindowsFolderAsTempAreLeftAlone) {
    const std::vector<Item> kept = {{"C:\\e2e_root_keep\\keep.txt", 0, false},
                                    {"C:\\windows\\e2e_keep.tmp", 0, false},
                                    {"C:\\windows\\e2e_keep\\keep.txt", 0, false}};
    ASSERT_EQ("", PlantAll(kept));
    Canaries canaries;
    for (const char* temp : {"C:\\", "C:\\windows"}) {
        SCOPED_TRACE(temp);
        Scenario("temp_guard", LocalIni(false, "TempFiles"), false, {}, TempAt(temp))
            .ExpectQuietEnd();
        EXPECT_EQ("", Wrong(kept)) << temp;
        EXPECT_EQ("", canaries.Damage()) << temp;
    }
    for (const char* path :
         {"C:\\e2e_root_keep", "C:\\windows\\e2e_keep.tmp", "C:\\windows\\e2e_keep"}) {
        Wipe(path);
    }
}

class ScandiskFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(GetDriveTypeA("C:\\"), static_cast<UINT>(DRIVE_FIXED));
        ASSERT_EQ(GetDriveTypeA("D:\\"), static_cast<UINT>(DRIVE_FIXED)) << "drives not staged";
        ASSERT_EQ(GetDriveTypeA("E:\\"), static_cast<UINT>(DRIVE_CDROM));
        ASSERT_EQ(GetDriveTypeA("F:\\"), static_cast<UINT>(DRIVE_REMOTE));
        TearDown();
    }
    void TearDown() override {
        for (const std::string& name : Names("C:")) {
            if (name.size() > 4 && (name.rfind("FOUND.", 0) == 0 ||
                                    _stricmp(name.c_str() + name.size() - 4, ".chk") == 0)) {
                Wipe("C:\\" + name);
            }
        }
        Wipe("C:\\e2e_scan");
        for (const char* drive : {"D:", "E:", "F:"}) {
            for (const std::string& name : Names(drive)) Wipe(std::string(drive) + "\\" + name);
        }
    }
};

TEST_F(ScandiskFiles, OnlyTheRootsOfFixedDrivesAreWashed) {
    std::vector<Item> items = {{"C:\\FILE0000.CHK", 0, true},
                               {"C:\\FILE0001.CHK", kRo, true},
                               {"C:\\FOUND.000\\FILE0000.CHK", 0, true},
                               {"C:\\FOUND.000\\Sub\\readonly.txt", kRo, true},
                               {"C:\\FOUND.002\\a.txt", 0, true},
                               {"D:\\FILE0000.CHK", 0, true},
                               {"D:\\FOUND.010\\a.txt", 0, true},
                               {"C:\\HIDDEN.CHK", kHidden, false},
                               {"C:\\e2e_scan\\deep.chk", 0, false},
                               {"C:\\FOUND.011\\a.txt", 0, false},
                               {"D:\\keep.txt", 0, false}};
    for (const char* drive : {"E:", "F:"}) {
        for (const char* name : {"\\FILE0000.CHK", "\\FOUND.000\\a.txt"}) {
            items.push_back({drive + std::string(name), 0, false});
        }
    }
    ASSERT_EQ("", PlantAll(items));
    Canaries canaries;

    Scenario("scandisk", LocalIni(false, "ScanTempFiles")).ExpectQuietEnd();
    EXPECT_EQ("", Wrong(items));
    for (const char* folder : {"C:\\FOUND.000", "C:\\FOUND.002", "D:\\FOUND.010"}) {
        EXPECT_FALSE(Exists(folder)) << folder;
    }
    EXPECT_EQ("", canaries.Damage());
}

// A .chk held open on D: ends the run there: C: washed already proves the
// order, and the closing box that RunHistory asks for never comes.
TEST_F(ScandiskFiles, CIsWashedBeforeDAndAFailureOnDEndsTheRun) {
    ASSERT_EQ("", PlantAll({{"C:\\FILE0000.CHK", 0, true},
                            {"D:\\FILE0000.CHK", 0, false},
                            {"D:\\FOUND.000\\a.txt", 0, false}}));
    const win32::UniqueFileHandle held = Lock("D:\\FILE0000.CHK");
    ASSERT_TRUE(held);

    Scenario("scandisk_order", LocalIni(false, "ScanTempFiles RunHistory")).ExpectQuietEnd();
    EXPECT_FALSE(Exists("C:\\FILE0000.CHK"));
    EXPECT_TRUE(Exists("D:\\FILE0000.CHK"));
    EXPECT_TRUE(Exists("D:\\FOUND.000\\a.txt"));
}

class CustomLists : public ::testing::Test {
  protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        Wipe(kCustom);
        Wipe(kLists);
        RemoveTree(HKEY_CURRENT_USER, kCustomKeys);
    }

    static std::string Ini(bool addBleach) {
        return std::string("[Standard Options]\r\n[Wash Options]\r\nSkipAllCustomWashItems=0\r\n") +
               (addBleach ? "AddBleach=1\r\n" : "");
    }

    // The run's Custom folder holds one list of `records`, each written as
    // quoted fields ending in CRLF.
    static std::vector<Beside> List(const std::vector<std::vector<std::string>>& records) {
        std::string text;
        for (const auto& fields : records) {
            text += "\"" + fields[0] + "\",\"" + fields[1] + "\",\"" + fields[2] + "\"\r\n";
        }
        Plant(kLists + "\\wash.lst", 0, text);
        // An absolute path stands in for the test program's folder.
        return {{kLists + "\\wash.lst", "Custom\\wash.lst"}};
    }
};

TEST_F(CustomLists, KeysValuesAndFilesGoAsListedAndFilesAreDeletedPlainly) {
    const HKEY cu = HKEY_CURRENT_USER;
    ASSERT_TRUE(SetString(cu, kCustomKeys + "\\Gone\\Sub", "v", "1") &&
                SetString(cu, kCustomKeys + "\\Values", "secret", "1") &&
                SetString(cu, kCustomKeys + "\\Values", "other", "1") &&
                SetString(cu, kCustomKeys + "\\Lower", "v", "1"));
    const std::vector<Item> items = {{kCustom + "\\all\\one.txt", 0, true},
                                     {kCustom + "\\all\\readonly.txt", kRo, true},
                                     {kCustom + "\\all\\hidden.txt", kHidden, true},
                                     {kCustom + "\\hidden_readonly.txt", kHidden | kRo, true},
                                     {kCustom + "\\trace.log", 0, true},
                                     {kCustom + "\\all\\Sub\\keep.txt", 0, false},
                                     {kCustom + "\\keep.txt", 0, false}};
    ASSERT_EQ("", PlantAll(items));
    const std::string link = kCustom + "\\one.link";
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), items[0].path.c_str(), nullptr));
    Canaries canaries;

    Scenario run("custom_lists", Ini(false), false,
                 List({{"K", "HKEY_CURRENT_USER\\" + kCustomKeys + "\\Gone", ""},
                       {"V", "HKEY_CURRENT_USER\\" + kCustomKeys + "\\Values", "secret"},
                       {"k", "HKEY_CURRENT_USER\\" + kCustomKeys + "\\Lower", ""},
                       {"K", "HKEY_CURRENT_USER\\", ""},
                       {"K", "HKEY_LOCAL_MACHINE\\", ""},
                       {"F", kCustom + "\\all\\", ""},
                       {"F", kCustom + "\\hidden_readonly.txt", ""},
                       {"F", kCustom + "\\*.log", ""}}));
    run.ExpectQuietEnd();
    EXPECT_FALSE(KeyExists(cu, kCustomKeys + "\\Gone"));
    EXPECT_FALSE(ValueExists(cu, kCustomKeys + "\\Values", "secret"));
    EXPECT_TRUE(ValueExists(cu, kCustomKeys + "\\Values", "other"));
    EXPECT_TRUE(KeyExists(cu, kCustomKeys + "\\Lower"));
    EXPECT_EQ("", Wrong(items));
    EXPECT_TRUE(ReadText(link) == "x") << "overwritten although AddBleach is off";
    EXPECT_EQ("", canaries.Damage()) << "a root key alone names nothing to delete";
}

// Read back through a second name of the file: the bytes the run wrote over
// the file it deleted, so the overwrite was made in place.
TEST_F(CustomLists, AddBleachOverwritesTheFileInPlaceWithSpacesBeforeDeletingIt) {
    const std::string file = kCustom + "\\secret.txt", link = kCustom + "\\secret.link";
    ASSERT_TRUE(Plant(file, kHidden | kRo, std::string(10000, 'S')));
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), file.c_str(), nullptr));

    Scenario("custom_bleach", Ini(true), false, List({{"F", file, ""}})).ExpectQuietEnd();
    EXPECT_FALSE(Exists(file));
    const std::string bytes = ReadText(link);
    EXPECT_EQ(bytes.size(), 3u * 4096) << "10000 bytes take three blocks";
    EXPECT_EQ(bytes.find_first_not_of(' '), std::string::npos) << "not all spaces";
}

// Nothing else fails in this run, so only the error can keep the box away.
TEST_F(CustomLists, MissingCustomFolderEndsTheRunBeforeItsClosingBox) {
    Scenario("custom_missing",
             "[Standard Options]\r\nRunHistory=1\r\n[Wash Options]\r\n"
             "SkipAllCustomWashItems=0\r\nSkipMessages=0\r\n")
        .ExpectQuietEnd();
}

}  // namespace
}  // namespace vw::e2e
