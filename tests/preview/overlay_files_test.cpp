#include <gtest/gtest.h>

#include <set>

#include "platform/contract/file_cases.h"
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
    overlay.CreateFolder("C:\\Root");  // in a drive's root, whose key keeps its "\"
    EXPECT_EQ(Listed("C:\\R*", attr::kDirectory), std::set<std::string>{"Root"});
    EXPECT_EQ(Listed("C:\\D\\*", attr::kDirectory),
              (std::set<std::string>{".", "..", "b.tmp", "sub", "made"}));
    EXPECT_EQ(Listed("C:\\d\\\\A.TMP", 0), std::set<std::string>{})
        << "a deleted file, by any spelling";
    EXPECT_EQ(contract::ErrorOf([&] { overlay.RemoveFile("C:\\D\\a.tmp"); }),
              errnum::kFileNotFound);

    // Read-only until the attribute change the wash makes first.
    EXPECT_EQ(contract::ErrorOf([&] { overlay.RemoveFile("C:\\D\\b.tmp"); }),
              errnum::kPathFileAccessError);
    overlay.SetAttributes("C:\\D\\b.tmp", attr::kNormal);
    EXPECT_EQ(overlay.ProbeEntry("C:\\D\\b.tmp").attributes & attr::kReadOnly, 0u);
    overlay.RemoveFile("C:\\D\\b.tmp");

    // A folder goes once the overlay sees it empty; a made one is there to remove.
    EXPECT_EQ(contract::ErrorOf([&] { overlay.RemoveFolder("C:\\D\\sub"); }),
              errnum::kPathFileAccessError);
    overlay.RemoveFile("C:\\D\\sub\\c.tmp");
    overlay.RemoveFolder("C:\\D\\sub");
    overlay.RemoveFolder("C:\\D\\made");
    EXPECT_EQ(Listed("C:\\D\\*", attr::kDirectory), (std::set<std::string>{".", ".."}));
    overlay.RemoveFolder("C:\\D");

    EXPECT_EQ(log.Changes().size(), 9u);
    EXPECT_EQ(log.Changes()[0].bytes, 3u);
    EXPECT_EQ(sim.journal.size(), journaled) << "the real file system was changed";
    EXPECT_EQ(sim.files.Content("C:\\D\\sub\\c.tmp"), "c");
}

}  // namespace
}  // namespace vw
