// An overwrite in place cannot be told from truncate-and-rewrite by reading
// the file back: the calls themselves are the behaviour. A disk that fills
// during the overwrite is a row of the wash table.

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vw
