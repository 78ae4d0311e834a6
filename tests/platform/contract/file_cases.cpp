#include "platform/contract/file_cases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/file_system_object.h"

namespace vw::contract {

namespace {

using namespace errnum;

void DeleteFileRefusals(FileStage& s) {
    s.MakeFile("ro.txt", "x", attr::kReadOnly);
    s.MakeFolder("sub");
    FileSystem& fs = s.Files();
    EXPECT_EQ(ErrorOf([&] { fs.RemoveFile(s.Root() + "\\ro.txt"); }), kPathFileAccessError);
    EXPECT_TRUE(s.Exists("ro.txt"));
    EXPECT_EQ(ErrorOf([&] { fs.RemoveFile(s.Root() + "\\sub"); }), kPathFileAccessError);
    EXPECT_EQ(ErrorOf([&] { fs.RemoveFile(s.Root() + "\\none.txt"); }), kFileNotFound);
    EXPECT_EQ(ErrorOf([&] { fs.RemoveFile(s.Root() + "\\absent\\x.txt"); }), kPathNotFound);
}

void NormalAttributesLetReadOnlyGo(FileStage& s) {
    s.MakeFile("ro.txt", "x", attr::kReadOnly | attr::kHidden | attr::kSystem);
    FileSystem& fs = s.Files();
    EXPECT_EQ(ErrorOf([&] { fs.SetAttributes(s.Root() + "\\ro.txt", attr::kNormal); }), 0);
    EXPECT_EQ(ErrorOf([&] { fs.RemoveFile(s.Root() + "\\ro.txt"); }), 0);
    EXPECT_FALSE(s.Exists("ro.txt"));
    EXPECT_EQ(ErrorOf([&] { fs.SetAttributes(s.Root() + "\\ro.txt", 0); }), kFileNotFound);
    EXPECT_EQ(ErrorOf([&] { fs.SetAttributes(s.Root() + "\\absent\\x", 0); }), kPathNotFound);
}

void InUseFileRefusesOpenReadAndDelete(FileStage& s) {
    s.MakeFile("busy.txt", "x");
    s.HoldOpen("busy.txt");
    FileSystem& fs = s.Files();
    const std::string busy = s.Root() + "\\busy.txt";
    EXPECT_EQ(ErrorOf([&] { fs.OpenBinary(busy); }), kPermissionDenied);
    EXPECT_EQ(ErrorOf([&] { fs.ReadAll(busy); }), kPermissionDenied);
    EXPECT_EQ(ErrorOf([&] { fs.RemoveFile(busy); }), kPermissionDenied);
    // The Temp wash clears attributes of every file, in use or not.
    EXPECT_EQ(ErrorOf([&] { fs.SetAttributes(busy, attr::kNormal); }), 0);
    EXPECT_TRUE(s.Exists("busy.txt"));
}

void OpenNeverTruncatesAndWritesInPlace(FileStage& s) {
    s.MakeFile("data.bin", std::string(5000, 'a'));
    const std::string path = s.Root() + "\\data.bin";
    {
        auto file = s.Files().OpenBinary(path);
        EXPECT_EQ(file->Length(), 5000u);
        file->WriteAt(4096, "XYZ");
        file->Flush();
        // Our own handle keeps the file from being deleted until it is closed.
        EXPECT_EQ(ErrorOf([&] { s.Files().RemoveFile(path); }), kPermissionDenied);
        file->WriteAt(6000, "E");
        EXPECT_EQ(file->Length(), 6001u);
    }
    const std::string expected =
        std::string(4096, 'a') + "XYZ" + std::string(901, 'a') + std::string(1000, '\0') + "E";
    EXPECT_EQ(s.Content("data.bin"), expected);
    EXPECT_EQ(ErrorOf([&] { s.Files().RemoveFile(path); }), 0);
}

void OpenCreatesOnlyInAnExistingFolder(FileStage& s) {
    s.MakeFolder("sub");
    FileSystem& fs = s.Files();
    EXPECT_EQ(fs.OpenBinary(s.Root() + "\\new.bin")->Length(), 0u);
    EXPECT_TRUE(s.Exists("new.bin"));
    EXPECT_EQ(ErrorOf([&] { fs.OpenBinary(s.Root() + "\\absent\\x.bin"); }), kPathNotFound);
    EXPECT_EQ(ErrorOf([&] { fs.OpenBinary(s.Root() + "\\sub"); }), kPathFileAccessError);
}

void ReadAllGivesEveryByte(FileStage& s) {
    const std::string bytes("\"F\",\"C:\\x\"\r\n\x1a\0z", 15);
    s.MakeFile("list.txt", bytes);
    EXPECT_EQ(s.Files().ReadAll(s.Root() + "\\list.txt"), bytes);
    EXPECT_EQ(ErrorOf([&] { s.Files().ReadAll(s.Root() + "\\none.txt"); }), kFileNotFound);
}

void RemoveFolderTakesOnlyAnEmptyFolder(FileStage& s) {
    s.MakeFile("full\\x.txt", "x");
    s.MakeFolder("empty");
    FileSystem& fs = s.Files();
    EXPECT_EQ(ErrorOf([&] { fs.RemoveFolder(s.Root() + "\\full"); }), kPathFileAccessError);
    EXPECT_EQ(ErrorOf([&] { fs.RemoveFolder(s.Root() + "\\full\\x.txt"); }), kPathNotFound);
    EXPECT_EQ(ErrorOf([&] { fs.RemoveFolder(s.Root() + "\\none"); }), kPathNotFound);
    EXPECT_EQ(ErrorOf([&] { fs.RemoveFolder(s.Root() + "\\empty"); }), 0);
    EXPECT_FALSE(s.Exists("empty"));
    EXPECT_TRUE(s.Exists("full\\x.txt"));
}

void DeleteFolderWithForceTakesEverything(FileStage& s) {
    s.MakeFile("victim\\ro.txt", "x", attr::kReadOnly);
    s.MakeFile("victim\\hs.txt", "x", attr::kHidden | attr::kSystem);
    s.MakeFile("victim\\a\\b\\deep.txt", "x", attr::kReadOnly);
    s.MakeFolder("victim\\a\\hid", attr::kHidden);
    s.MakeFile("victim\\a\\hid\\x.txt", "x", attr::kReadOnly | attr::kHidden);
    s.MakeFile("victimx\\keep.txt", "keep");
    s.MakeFile("victim.txt", "keep");
    FileSystemObject fso(s.Files());
    EXPECT_EQ(ErrorOf([&] { fso.DeleteFolder(s.Root() + "\\victim", true); }), 0);
    EXPECT_FALSE(s.Exists("victim"));
    EXPECT_EQ(s.Content("victimx\\keep.txt"), "keep");
    EXPECT_EQ(s.Content("victim.txt"), "keep");
}

void DeleteFolderGoesOnPastWhatStays(FileStage& s) {
    s.MakeFile("ro\\ro.txt", "x", attr::kReadOnly);
    s.MakeFile("ro\\sub\\plain.txt", "x");
    s.MakeFile("busy\\a.txt", "x");
    s.MakeFile("busy\\busy.txt", "x");
    s.MakeFile("busy\\z\\z.txt", "x");
    s.HoldOpen("busy\\busy.txt");
    FileSystemObject fso(s.Files());

    EXPECT_EQ(ErrorOf([&] { fso.DeleteFolder(s.Root() + "\\ro", false); }), kPathFileAccessError);
    EXPECT_TRUE(s.Exists("ro\\ro.txt"));
    EXPECT_FALSE(s.Exists("ro\\sub"));

    EXPECT_EQ(ErrorOf([&] { fso.DeleteFolder(s.Root() + "\\busy", true); }), kPermissionDenied);
    EXPECT_TRUE(s.Exists("busy\\busy.txt"));
    EXPECT_FALSE(s.Exists("busy\\a.txt"));
    EXPECT_FALSE(s.Exists("busy\\z"));
}

void DeleteFolderNeedsAFolder(FileStage& s) {
    s.MakeFile("FOUND.003", "x");
    FileSystemObject fso(s.Files());
    EXPECT_EQ(ErrorOf([&] { fso.DeleteFolder(s.Root() + "\\FOUND.003", true); }), kPathNotFound);
    EXPECT_TRUE(s.Exists("FOUND.003"));
    EXPECT_EQ(ErrorOf([&] { fso.DeleteFolder(s.Root() + "\\none", true); }), kPathNotFound);
}

void GetFolderListsFilesAndSubFolders(FileStage& s) {
    s.MakeFile("list\\a.txt", "x");
    s.MakeFile("list\\hs.txt", "x", attr::kHidden | attr::kSystem);
    s.MakeFile("list\\noext", "x");
    s.MakeFolder("list\\sub");
    s.MakeFolder("list\\hidsub", attr::kHidden);
    FileSystemObject fso(s.Files());
    const FsoFolder folder = fso.GetFolder(s.Root() + "\\list\\");
    EXPECT_EQ(folder.Path(), s.Root() + "\\list");
    std::set<std::string> files, folders;
    for (const FsoFile& f : folder.Files()) {
        EXPECT_EQ(f.Path(), folder.Path() + "\\" + f.Name());
        files.insert(f.Name());
    }
    for (const FsoFolder& f : folder.SubFolders()) folders.insert(f.Path());
    EXPECT_EQ(files, (std::set<std::string>{"a.txt", "hs.txt", "noext"}));
    EXPECT_EQ(folders,
              (std::set<std::string>{folder.Path() + "\\sub", folder.Path() + "\\hidsub"}));
    EXPECT_EQ(ErrorOf([&] { fso.GetFolder(s.Root() + "\\none"); }), kPathNotFound);
    EXPECT_EQ(ErrorOf([&] { fso.GetFolder(s.Root() + "\\list\\a.txt"); }), kPathNotFound);
}

void DrivesAsTheScriptingRuntimeNumbersThem(FileStage& s) {
    FileSystemObject fso(s.Files());
    const FsoDrive c = fso.GetDrive(FileSystemObject::GetDriveName("c: [label]"));
    EXPECT_EQ(c.DriveType(), fsodrive::kFixed);
    EXPECT_EQ(c.DriveLetter(), "C");
    EXPECT_EQ(ErrorOf([&] { fso.GetDrive("q:"); }), kDeviceUnavailable);
}

void QueriesAnswerAndNeverRaise(FileStage& s) {
    FileSystem& fs = s.Files();
    const std::string drive = s.Root().substr(0, 3);
    EXPECT_EQ(fs.KindOfDrive(drive), DriveKind::kFixed) << drive;
    for (const std::string& none : {std::string("Q:\\"), std::string(), std::string("\xFF:\\"),
                                    drive.substr(0, 2), drive + "x"}) {
        EXPECT_EQ(fs.KindOfDrive(none), DriveKind::kNone) << none;
    }
    const std::string temp = fs.TempPath();
    ASSERT_GT(temp.size(), 3u);
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_EQ(temp.substr(1, 2), ":\\");
    for (const std::string& folder : {fs.WindowsFolder(), fs.ProfileFolder()}) {
        ASSERT_GT(folder.size(), 3u);
        EXPECT_EQ(folder.substr(1, 2), ":\\");
        EXPECT_NE(folder.back(), '\\') << folder;
    }
    EXPECT_EQ(fs.AnsiToUtf8("plain"), "plain");
}

// Bytes that are no UTF-8 name no file: listings find nothing, every other
// call refuses the name.
void NamesThatAreNoUtf8(FileStage& s) {
    s.MakeFile("x.txt", "x");
    FileSystem& fs = s.Files();
    const std::string bad = s.Root() + "\\\xC0\xAF.txt";
    EXPECT_EQ(ListNames(fs, s.Root() + "\\\xFF*", attr::kHidden | attr::kDirectory),
              std::set<std::string>{});
    EXPECT_EQ(ErrorOf([&] { fs.RemoveFile(bad); }), kBadFileName);
    EXPECT_EQ(ErrorOf([&] { fs.SetAttributes(bad, attr::kNormal); }), kBadFileName);
    EXPECT_EQ(ErrorOf([&] { fs.CreateFolder(bad); }), kBadFileName);
    EXPECT_EQ(ErrorOf([&] { fs.RemoveFolder(bad); }), kBadFileName);
    EXPECT_EQ(ErrorOf([&] { fs.OpenBinary(bad); }), kBadFileName);
    EXPECT_EQ(ErrorOf([&] { fs.ReadAll(bad); }), kBadFileName);
    EXPECT_EQ(s.Content("x.txt"), "x");
}

void CreateFolderNeedsItsParentAndNoNamesake(FileStage& s) {
    s.MakeFile("file", "x");
    FileSystem& fs = s.Files();
    EXPECT_EQ(ErrorOf([&] { fs.CreateFolder(s.Root() + "\\new"); }), 0);
    EXPECT_EQ(ListNames(fs, s.Root() + "\\new", attr::kDirectory), std::set<std::string>{"new"});
    EXPECT_EQ(ErrorOf([&] { fs.CreateFolder(s.Root() + "\\NEW"); }), kPathFileAccessError);
    EXPECT_EQ(ErrorOf([&] { fs.CreateFolder(s.Root() + "\\file"); }), kPathFileAccessError);
    EXPECT_EQ(ErrorOf([&] { fs.CreateFolder(s.Root() + "\\absent\\new"); }), kPathNotFound);
    EXPECT_FALSE(s.Exists("absent"));
    EXPECT_EQ(s.Content("file"), "x");
}

void ADriveRootHasNoDotEntries(FileStage& s) {
    const std::set<std::string> names =
        ListNames(s.Files(), s.Root().substr(0, 3) + "*", attr::kDirectory);
    EXPECT_FALSE(names.empty());
    EXPECT_EQ(names.count("."), 0u);
    EXPECT_EQ(names.count(".."), 0u);
}

// Cyrillic, Greek, CJK and a character outside the Basic Multilingual Plane.
const char* const kScriptNames[] = {"Папка", "Ελληνικά.txt", "日本語.txt", "\xF0\x9F\x98\x80.txt"};

void NamesInEveryScriptAreListedChangedAndDeleted(FileStage& s) {
    std::set<std::string> names;
    for (const char* name : kScriptNames) {
        s.MakeFile(std::string("uni\\") + name, name, attr::kReadOnly);
        names.insert(name);
    }
    s.MakeFile("uni\\Папка.dir\\файл.txt", "x", attr::kHidden);
    s.MakeFile("canary.txt", "canary");
    FileSystem& fs = s.Files();
    const std::string uni = s.Root() + "\\uni\\";
    names.insert("Папка.dir");
    EXPECT_EQ(ListNames(fs, uni + "*", attr::kHidden | attr::kDirectory), [&] {
        auto all = names;
        all.insert({".", ".."});
        return all;
    }());
    // Without regard to case, as the platform compares names.
    EXPECT_EQ(ListNames(fs, uni + "ПАП*", attr::kNormal), (std::set<std::string>{"Папка"}));
    EXPECT_EQ(ListNames(fs, uni + "ελλην*.TXT", attr::kNormal),
              (std::set<std::string>{"Ελληνικά.txt"}));
    for (const char* name : kScriptNames) {
        EXPECT_EQ(ErrorOf([&] { fs.SetAttributes(uni + name, attr::kNormal); }), 0) << name;
        EXPECT_EQ(ErrorOf([&] { fs.RemoveFile(uni + name); }), 0) << name;
        EXPECT_FALSE(s.Exists(std::string("uni\\") + name)) << name;
    }
    FileSystemObject fso(fs);
    EXPECT_EQ(ErrorOf([&] { fso.DeleteFolder(uni + "ПАПКА.DIR", true); }), 0);
    EXPECT_FALSE(s.Exists("uni\\Папка.dir"));
    EXPECT_EQ(s.Content("canary.txt"), "canary");
}

void TreesDeeperThanTheClassicLimitGoWhole(FileStage& s) {
    // 22 levels of 19 characters: over 400 characters below the root.
    std::string deep = "deep";
    for (int level = 0; level < 22; ++level)
        deep += "\\level-" + std::to_string(100 + level) + "-xxxxxxxx";
    s.MakeFile(deep + "\\bottom.txt", "x", attr::kReadOnly);
    s.MakeFile("deep\\level-100-xxxxxxxx\\mid.txt", "x");
    s.MakeFile("deepcanary\\keep.txt", "keep");
    FileSystem& fs = s.Files();
    ASSERT_GT(s.Root().size() + deep.size(), 400u);
    EXPECT_EQ(ListNames(fs, s.Root() + "\\" + deep + "\\*.txt", attr::kNormal),
              (std::set<std::string>{"bottom.txt"}));
    FileSystemObject fso(fs);
    EXPECT_EQ(ErrorOf([&] { fso.DeleteFolder(s.Root() + "\\deep", true); }), 0);
    EXPECT_FALSE(s.Exists("deep"));
    EXPECT_EQ(s.Content("deepcanary\\keep.txt"), "keep");
}

void DeleteFolderRemovesALinkNotItsTarget(FileStage& s) {
    s.MakeFile("target\\keep.txt", "keep");
    s.MakeFile("victim\\plain.txt", "x", attr::kReadOnly);
    s.MakeFile("canary.txt", "canary");
    FileSystemObject fso(s.Files());
    const long error = ErrorOf([&] { fso.DeleteFolder(s.Root() + "\\victim", true); });
    EXPECT_EQ(s.Content("target\\keep.txt"), "keep");
    EXPECT_FALSE(s.Exists("victim\\plain.txt"));
    EXPECT_EQ(s.Content("canary.txt"), "canary");
    if (s.RemovesFolderLinks()) {
        EXPECT_EQ(error, 0);
        EXPECT_FALSE(s.Exists("victim"));
    } else {
        EXPECT_EQ(error, kPathFileAccessError);
        EXPECT_TRUE(s.Exists("victim\\link"));
    }
}

void NothingButReadingReachesALinkTarget(FileStage& s) {
    FileSystem& fs = s.Files();
    const std::string links = s.Root() + "\\links\\";
    ASSERT_EQ(s.Content("canary\\file.txt"), "canary");
    // Reading through a link is harmless; nothing else may reach the target.
    EXPECT_EQ(fs.ReadAll(links + "flink.txt"), "canary");
    EXPECT_EQ(fs.OpenBinary(links + "flink.txt"), nullptr);
    EXPECT_EQ(ErrorOf([&] { fs.SetAttributes(links + "flink.txt", attr::kReadOnly); }), 0);
    EXPECT_EQ(ErrorOf([&] { fs.SetAttributes(links + "flink.txt", attr::kNormal); }), 0);
    EXPECT_EQ(ErrorOf([&] { fs.RemoveFile(links + "flink.txt"); }), 0);
    EXPECT_EQ(ErrorOf([&] { fs.RemoveFolder(links + "elink"); }), 0);
    EXPECT_EQ(s.Content("canary\\file.txt"), "canary");
    EXPECT_TRUE(s.Exists("canary\\empty"));
    FileSystemObject fso(fs);
    // The folder may stay: Wine keeps the links it cannot remove alone.
    ErrorOf([&] { fso.DeleteFolder(s.Root() + "\\links", true); });
    EXPECT_EQ(s.Content("canary\\file.txt"), "canary");
    EXPECT_EQ(s.Content("canary\\full\\keep.txt"), "keep");
    EXPECT_TRUE(s.Exists("canary\\empty"));
    EXPECT_FALSE(s.Exists("links\\plain.txt"));
    // Still an ordinary file: the attribute change did not reach it.
    EXPECT_EQ(ErrorOf([&] { fs.RemoveFile(s.Root() + "\\canary\\file.txt"); }), 0);
}

void ADriveWithoutAMediumRaisesOnListing(FileStage& s) {
    FileSystem& fs = s.Files();
    const std::string root = std::string(1, kNoMediumDrive) + ":\\";
    EXPECT_EQ(fs.KindOfDrive(root), DriveKind::kCdRom);
    EXPECT_EQ(ErrorOf([&] { fs.Enumerate(root + "*"); }), kDeviceUnavailable);
    EXPECT_EQ(ErrorOf([&] { fs.List(root + "dir\\*.txt", attr::kHidden); }), kDeviceUnavailable);
    FileSystemObject fso(fs);
    EXPECT_EQ(ErrorOf([&] { fso.GetFolder(root + "dir"); }), kDeviceUnavailable);
    // A drive that is not there at all still lists nothing.
    EXPECT_EQ(ErrorOf([&] { fs.Enumerate("Q:\\*"); }), 0);
}

// Stages the case's tree, then lists through the backend under test.
void ExpectListing(FileStage& s, const ListingCase& c) {
    for (const ListingEntry& e : *c.tree) {
        if (e.attributes & attr::kDirectory) {
            s.MakeFolder(e.name, e.attributes & ~attr::kDirectory);
        } else {
            s.MakeFile(e.name, "x", e.attributes);
        }
    }
    EXPECT_EQ(ListNames(s.Files(), s.Root() + c.pattern, c.filter), c.expected)
        << c.pattern << " filter " << c.filter;
}

}  // namespace

const std::vector<FileCase>& FileCases() {
    static const std::vector<FileCase> cases = [] {
        std::vector<FileCase> all = {
            {"DeleteFileRefusals", DeleteFileRefusals},
            {"NormalAttributesLetReadOnlyGo", NormalAttributesLetReadOnlyGo},
            {"InUseFileRefusesOpenReadAndDelete", InUseFileRefusesOpenReadAndDelete},
            {"OpenNeverTruncatesAndWritesInPlace", OpenNeverTruncatesAndWritesInPlace},
            {"OpenCreatesOnlyInAnExistingFolder", OpenCreatesOnlyInAnExistingFolder},
            {"ReadAllGivesEveryByte", ReadAllGivesEveryByte},
            {"CreateFolderNeedsItsParentAndNoNamesake", CreateFolderNeedsItsParentAndNoNamesake},
            {"RemoveFolderTakesOnlyAnEmptyFolder", RemoveFolderTakesOnlyAnEmptyFolder},
            {"DeleteFolderWithForceTakesEverything", DeleteFolderWithForceTakesEverything},
            {"DeleteFolderGoesOnPastWhatStays", DeleteFolderGoesOnPastWhatStays},
            {"DeleteFolderNeedsAFolder", DeleteFolderNeedsAFolder},
            {"GetFolderListsFilesAndSubFolders", GetFolderListsFilesAndSubFolders},
            {"DrivesAsTheScriptingRuntimeNumbersThem", DrivesAsTheScriptingRuntimeNumbersThem},
            {"QueriesAnswerAndNeverRaise", QueriesAnswerAndNeverRaise},
            {"NamesThatAreNoUtf8", NamesThatAreNoUtf8},
            {"NamesInEveryScriptAreListedChangedAndDeleted",
             NamesInEveryScriptAreListedChangedAndDeleted},
            {"TreesDeeperThanTheClassicLimitGoWhole", TreesDeeperThanTheClassicLimitGoWhole},
            {"ADriveRootHasNoDotEntries", ADriveRootHasNoDotEntries},
            {"DeleteFolderRemovesALinkNotItsTarget", DeleteFolderRemovesALinkNotItsTarget,
             Needs::kLinks},
            {"NothingButReadingReachesALinkTarget", NothingButReadingReachesALinkTarget,
             Needs::kLinks},
            {"ADriveWithoutAMediumRaisesOnListing", ADriveWithoutAMediumRaisesOnListing,
             Needs::kDriveWithoutMedium},
        };
        for (const ListingCase& c : ListingCases()) {
            all.push_back(
                {std::string("Lists") + c.name, [&c](FileStage& s) { ExpectListing(s, c); }});
        }
        return all;
    }();
    return cases;
}

}  // namespace vw::contract
