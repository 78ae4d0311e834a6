#include <gtest/gtest.h>

#include <set>

#include "platform/file_system_object.h"
#include "platform/sim/sim_platform.h"
#include "preview/preview_files.h"

namespace vw {
namespace {

using preview::ChangeLog;
using preview::PreviewFileSystem;

class OverlayFilesTest : public ::testing::Test {
  protected:
    std::set<std::string> Listed(const std::string& pattern, std::uint32_t filter) {
        std::set<std::string> names;
        auto listing = overlay.List(pattern, filter);
        for (std::string n = listing.Next(); !n.empty(); n = listing.Next()) names.insert(n);
        return names;
    }
    long Raised(const std::function<void()>& call) {
        try {
            call();
        } catch (const RunError& e) {
            return e.Number();
        }
        return 0;
    }

    sim::SimPlatform sim;
    ChangeLog log;
    PreviewFileSystem overlay{sim.files, log};
};

TEST_F(OverlayFilesTest, ReadsSeeTheChangesHeldBack) {
    sim.files.AddFile("C:\\D\\a.tmp", "aaa");
    sim.files.AddFile("C:\\D\\b.tmp", "bb", attr::kReadOnly);
    sim.files.AddFile("C:\\D\\sub\\c.tmp", "c");
    const std::size_t journaled = sim.journal.size();

    overlay.RemoveFile("C:\\D\\a.tmp");
    overlay.CreateFolder("C:\\D\\made");
    EXPECT_EQ(Listed("C:\\D\\*", attr::kDirectory),
              (std::set<std::string>{".", "..", "b.tmp", "sub", "made"}));
    EXPECT_EQ(Listed("C:\\d\\\\A.TMP", 0), std::set<std::string>{})
        << "a deleted file, by any spelling";
    EXPECT_EQ(Raised([&] { overlay.RemoveFile("C:\\D\\a.tmp"); }), errnum::kFileNotFound);

    // Read-only until the attribute change the wash makes first.
    EXPECT_EQ(Raised([&] { overlay.RemoveFile("C:\\D\\b.tmp"); }), errnum::kPathFileAccessError);
    overlay.SetAttributes("C:\\D\\b.tmp", attr::kNormal);
    EXPECT_EQ(overlay.ProbeEntry("C:\\D\\b.tmp").attributes & attr::kReadOnly, 0u);
    overlay.RemoveFile("C:\\D\\b.tmp");

    // A folder goes once the overlay sees it empty; a made one is there to remove.
    EXPECT_EQ(Raised([&] { overlay.RemoveFolder("C:\\D\\sub"); }), errnum::kPathFileAccessError);
    overlay.RemoveFile("C:\\D\\sub\\c.tmp");
    overlay.RemoveFolder("C:\\D\\sub");
    overlay.RemoveFolder("C:\\D\\made");
    EXPECT_EQ(Listed("C:\\D\\*", attr::kDirectory), (std::set<std::string>{".", ".."}));
    overlay.RemoveFolder("C:\\D");

    EXPECT_EQ(log.Changes().size(), 8u);
    EXPECT_EQ(log.Changes()[0].bytes, 3u);
    EXPECT_EQ(sim.journal.size(), journaled) << "the real file system was changed";
    EXPECT_EQ(sim.files.Content("C:\\D\\sub\\c.tmp"), "c");
}

// The scripting object's tree removal over the overlay meets what the real
// removal would: the file held open stays, and so does every folder above it.
TEST_F(OverlayFilesTest, TreeRemovalStopsWhereTheRealOneWould) {
    sim.files.AddFile("C:\\T\\x\\held.txt", "h");
    sim.files.AddFile("C:\\T\\x\\ro.txt", "", attr::kReadOnly);
    sim.files.AddFile("C:\\T\\y\\z.txt", "zz");
    sim.files.HoldOpen("C:\\T\\x\\held.txt");
    const FileSystemObject fso(overlay);
    EXPECT_EQ(Raised([&] { fso.DeleteFolder("C:\\T", true); }), errnum::kPermissionDenied);
    std::multiset<std::string> actions;
    for (const auto& c : log.Changes()) actions.insert(c.action + " " + c.target);
    EXPECT_EQ(actions, (std::multiset<std::string>{
                           "set attributes C:\\T\\x\\ro.txt", "delete file C:\\T\\x\\ro.txt",
                           "delete file C:\\T\\y\\z.txt", "delete folder C:\\T\\y"}));
}

// Each refusal the platform can tell beforehand, predicted with the number the
// real call then raises.
TEST_F(OverlayFilesTest, RemovalsTheRealCallWouldRefuse) {
    sim.files.AddFile("C:\\P\\ro.txt", "", attr::kReadOnly);
    sim.files.AddFile("C:\\P\\held.txt");
    sim.files.HoldOpen("C:\\P\\held.txt");
    sim.files.AddFile("C:\\P\\acl.txt");
    sim.files.AddFolder("C:\\P\\dir");
    sim.files.AddDrive('E', DriveKind::kRemovable, false);
    const struct {
        const char* path;
        bool armAccessList;
        long number;
    } cases[] = {
        {"C:\\P\\ro.txt", false, errnum::kPathFileAccessError},
        {"C:\\P\\held.txt", false, errnum::kPermissionDenied},
        {"C:\\P\\acl.txt", true, errnum::kPathFileAccessError},
        {"C:\\P\\dir", false, errnum::kPathFileAccessError},
        {"C:\\P\\none.txt", false, errnum::kFileNotFound},
        {"C:\\none\\x.txt", false, errnum::kPathNotFound},
        {"E:\\x.txt", false, errnum::kDiskNotReady},
    };
    for (const auto& c : cases) {
        if (c.armAccessList) sim.faults.FailOn("ProbeEntry", errnum::kPathFileAccessError);
        EXPECT_EQ(Raised([&] { overlay.RemoveFile(c.path); }), c.number) << c.path;
        if (c.armAccessList) sim.faults.FailOn("RemoveFile", errnum::kPathFileAccessError);
        EXPECT_EQ(Raised([&] { sim.files.RemoveFile(c.path); }), c.number) << "real: " << c.path;
    }
    EXPECT_TRUE(log.Changes().empty());
}

// An overwrite of a missing file makes it, as the real open does; of a link,
// nothing. Neither touches the disk.
TEST_F(OverlayFilesTest, OverwritesAreHeldBack) {
    sim.files.AddFile("C:\\P\\f.txt", std::string(5000, 'a'));
    sim.files.AddFile("C:\\P\\target.txt", "t");
    sim.files.AddLink("C:\\P\\link.txt", "C:\\P\\target.txt");
    auto file = overlay.OpenBinary("C:\\P\\f.txt");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Length(), 5000u);
    file->WriteAt(0, "XXXX");
    EXPECT_EQ(overlay.OpenBinary("C:\\P\\link.txt"), nullptr);
    ASSERT_TRUE(overlay.OpenBinary("C:\\P\\new.txt"));
    EXPECT_EQ(Listed("C:\\P\\new.txt", 0), std::set<std::string>{"new.txt"});
    overlay.RemoveFile("C:\\P\\new.txt");
    EXPECT_EQ(Raised([&] { overlay.OpenBinary("C:\\none\\x.txt"); }), errnum::kPathNotFound);
    EXPECT_EQ(sim.files.Content("C:\\P\\f.txt"), std::string(5000, 'a'));
    EXPECT_FALSE(sim.files.Exists("C:\\P\\new.txt"));
}

}  // namespace
}  // namespace vw
