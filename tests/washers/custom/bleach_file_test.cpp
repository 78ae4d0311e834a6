// An overwrite in place cannot be told from truncate-and-rewrite by reading
// the file back: the calls themselves are the behaviour.

#include <gtest/gtest.h>

#include "platform/contract/file_cases.h"
#include "support/sim_run.h"
#include "wash/frm_wash.h"

namespace vw {
namespace {

TEST(BleachFileTest, OverwritesEveryBlockTwiceInPlaceFlushesThenDeletes) {
    const std::pair<std::size_t, int> cases[] = {{0, 1}, {4096, 2}, {4097, 2}, {10000, 3}};
    for (const auto& [length, blocks] : cases) {
        test::SimMachine m;
        const std::string file = "C:\\data\\f.txt";
        m.sim.files.AddFile(file, std::string(length, 'd'));
        frmWash form(m.sim.platform());
        m.sim.journal.clear();
        form.BleachFile(file);

        std::vector<std::string> expected = {"open " + file + " truncate=no"};
        for (int k = 0; k < blocks; ++k) {
            expected.push_back("write " + std::to_string(k * 4096) + " 4096 'X'");
            expected.push_back("write " + std::to_string(k * 4096) + " 4096 ' '");
        }
        expected.insert(expected.end(), {"flush", "close", "delete " + file});
        EXPECT_EQ(m.sim.journal, expected) << length;
    }
}

TEST(BleachFileTest, FailuresGoToTheCallerWithTheFileClosed) {
    test::SimMachine m;
    frmWash form(m.sim.platform());
    // A missing file in an existing folder is made, bleached and deleted.
    form.BleachFile("C:\\f.txt");
    EXPECT_FALSE(m.sim.files.Exists("C:\\f.txt"));
    EXPECT_EQ(contract::ErrorOf([&] { form.BleachFile("C:\\absent\\f.txt"); }),
              errnum::kPathNotFound);
    m.sim.files.AddFile("C:\\big.txt", std::string(5000, 'd'));
    m.sim.faults.FailOn("WriteAt", errnum::kDiskFull, 3);
    m.sim.journal.clear();
    EXPECT_EQ(contract::ErrorOf([&] { form.BleachFile("C:\\big.txt"); }), errnum::kDiskFull);
    EXPECT_EQ(m.sim.journal.back(), "close");
    EXPECT_EQ(m.JournalCount("write "), 3u);
}

}  // namespace
}  // namespace vw
