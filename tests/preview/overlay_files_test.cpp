#include <gtest/gtest.h>

#include <set>

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

}  // namespace
}  // namespace vw
