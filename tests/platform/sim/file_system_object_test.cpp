#include "platform/file_system_object.h"

#include <gtest/gtest.h>

#include "platform/contract/file_cases.h"
#include "platform/sim/sim_platform.h"

namespace vw {
namespace {

using contract::ErrorOf;

class FileSystemObjectTest : public ::testing::Test {
  protected:
    sim::SimPlatform sim;
    FileSystemObject fso{sim.files};
};

TEST_F(FileSystemObjectTest, DeleteFolderRefusesPathsThatCouldReachTooFar) {
    sim.files.AddFile("C:\\t\\x\\a.txt", "x");
    for (const char* path : {"", "C:\\", "C:", "\\\\srv\\share\\", "t\\x", "x", "C:\\t\\x\\..",
                             "C:\\t\\.\\x", "C:\\t\\x\\. .", "\\t\\x"}) {
        EXPECT_EQ(ErrorOf([&] { fso.DeleteFolder(path, true); }), errnum::kInvalidArgument) << path;
    }
    EXPECT_EQ(ErrorOf([&] { fso.DeleteFolder("C:\\t\\*", true); }), errnum::kPathNotFound);
    EXPECT_TRUE(sim.journal.empty());
    EXPECT_TRUE(sim.files.Exists("C:\\t\\x\\a.txt"));
}

TEST_F(FileSystemObjectTest, DeleteFolderOnALinkRemovesTheLinkAlone) {
    sim.files.AddFile("C:\\target\\keep.txt", "keep");
    sim.files.AddLink("C:\\t\\link", "C:\\target");
    fso.DeleteFolder("C:\\t\\link\\", true);
    EXPECT_FALSE(sim.files.Exists("C:\\t\\link"));
    EXPECT_EQ(sim.files.Content("C:\\target\\keep.txt"), "keep");
    EXPECT_EQ(sim.journal, (sim::Journal{"rmdir C:\\t\\link"}));
}

TEST_F(FileSystemObjectTest, DrivesCarryTheirTypeAndUpperCaseLetter) {
    sim.files.AddDrive('a', DriveKind::kRemovable);
    sim.files.AddDrive('D');
    sim.files.AddDrive('E', DriveKind::kCdRom);
    sim.files.AddDrive('F', DriveKind::kRemote);
    sim.files.AddDrive('R', DriveKind::kRamDisk);
    sim.files.AddDrive('U', DriveKind::kUnknown);
    const std::pair<const char*, int> expected[] = {
        {"a:", fsodrive::kRemovable}, {"c", fsodrive::kFixed},   {"D:\\", fsodrive::kFixed},
        {"e:", fsodrive::kCdRom},     {"F:", fsodrive::kRemote}, {"r:", fsodrive::kRamDisk},
        {"u:", fsodrive::kUnknown},
    };
    for (const auto& [name, type] : expected) {
        const FsoDrive drive = fso.GetDrive(name);
        EXPECT_EQ(drive.DriveType(), type) << name;
        EXPECT_EQ(drive.DriveLetter(), std::string(1, static_cast<char>(std::toupper(name[0]))));
    }
    EXPECT_EQ(ErrorOf([&] { fso.GetDrive("g:"); }), errnum::kDeviceUnavailable);
    for (const char* name : {"", "cc", "1:", "c:\\x", "c:/"}) {
        EXPECT_EQ(ErrorOf([&] { fso.GetDrive(name); }), errnum::kInvalidArgument) << name;
    }
}

TEST_F(FileSystemObjectTest, GetDriveNameTakesALeadingDriveOnly) {
    EXPECT_EQ(FileSystemObject::GetDriveName("c: [SYSTEM]"), "c:");
    EXPECT_EQ(FileSystemObject::GetDriveName("D:\\dir"), "D:");
    for (const char* text : {"", "c", "1:", " c:", "\\\\srv\\share\\x"}) {
        EXPECT_EQ(FileSystemObject::GetDriveName(text), "") << text;
    }
}

TEST_F(FileSystemObjectTest, RootFolderJoinsNamesWithOneBackslash) {
    sim.files.AddFile("D:\\FILE0000.CHK");
    const FsoFolder root = fso.GetFolder("d:\\");
    EXPECT_EQ(root.Path(), "d:\\");
    ASSERT_EQ(root.Files().size(), 1u);
    EXPECT_EQ(root.Files()[0].Path(), "d:\\FILE0000.CHK");
    EXPECT_EQ(ErrorOf([&] { fso.GetFolder("Q:\\"); }), errnum::kPathNotFound);
}

// A volume label is no entry of a folder, whatever a listing asks for.
TEST_F(FileSystemObjectTest, ListingsNeverNameAVolumeLabel) {
    sim.files.AddFile("C:\\t\\LABEL", "", attr::kVolume | attr::kArchive);
    sim.files.AddFile("C:\\t\\plain.txt");
    for (const std::uint32_t filter : {attr::kNormal, attr::kHidden | attr::kSystem}) {
        DirectoryListing listing = sim.files.List("C:\\t\\*.*", filter);
        EXPECT_EQ(listing.Next(), "plain.txt");
        EXPECT_EQ(listing.Next(), "");
    }
}

// The bleaching tests read the order of file calls from the journal;
// queries leave no trace there.
TEST_F(FileSystemObjectTest, JournalRecordsFileChangesInOrderAndNoQueries) {
    sim.files.AddFile("C:\\t\\a.bin", "old");
    fso.GetFolder("C:\\t").Files();
    fso.GetDrive("c:");
    sim.files.ReadAll("C:\\t\\a.bin");
    sim.files.TempPath();
    sim.files.KindOfDrive("C:\\");
    EXPECT_TRUE(sim.journal.empty());
    {
        auto file = sim.files.OpenBinary("C:\\t\\a.bin");
        file->WriteAt(4096, std::string(4096, 'X'));
        file->WriteAt(4096, std::string(4096, ' '));
        file->Flush();
    }
    sim.files.SetAttributes("C:\\t\\a.bin", attr::kNormal);
    sim.files.RemoveFile("C:\\t\\a.bin");
    EXPECT_EQ(sim.journal, (sim::Journal{"open C:\\t\\a.bin truncate=no", "write 4096 4096 'X'",
                                         "write 4096 4096 ' '", "flush", "close",
                                         "setattr C:\\t\\a.bin 0", "delete C:\\t\\a.bin"}));
}

}  // namespace
}  // namespace vw
