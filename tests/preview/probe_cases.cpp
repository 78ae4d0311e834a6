#include "probe_cases.h"

#include <gtest/gtest.h>

#include "platform/run_error.h"

namespace vw::contract {

void CheckProbes(const ProbeStage& stage) {
    using namespace errnum;
    const struct {
        const char* path;
        long error;
        std::uint32_t has;  // attribute bits it must report
        std::uint64_t size;
    } files[] = {
        {"f.txt", 0, attr::kArchive, 5},
        {"ro.txt", 0, attr::kReadOnly, 5},  // the bit is told, not judged
        {"held.txt", kPermissionDenied, 0, 0},
        {"dir", 0, attr::kDirectory, 0},
        {"none.txt", kFileNotFound, 0, 0},
        {"none\\f.txt", kPathNotFound, 0, 0},
    };
    for (int round = 0; round < 2; ++round) {  // the second finds all as it was
        for (const auto& c : files) {
            const EntryProbe probe = stage.seam.files.ProbeEntry(stage.folder + "\\" + c.path);
            EXPECT_EQ(probe.error, c.error) << c.path;
            EXPECT_EQ(probe.attributes & c.has, c.has) << c.path;
            if (c.size) {
                EXPECT_EQ(probe.size, c.size) << c.path;
            }
        }
    }
    RegKey& hkcu = stage.seam.registry.Root(hkey::kCurrentUser);
    EXPECT_EQ(hkcu.ProbeDeleteKey(stage.key + "\\k"), regstatus::kSuccess) << "subkeys aside";
    EXPECT_EQ(hkcu.ProbeDeleteKey(stage.key + "\\k\\sub"), regstatus::kSuccess);
    EXPECT_EQ(hkcu.OpenKey(stage.key + "\\k\\sub", 0).status, regstatus::kSuccess);
    EXPECT_EQ(hkcu.ProbeDeleteKey(stage.key + "\\none"), regstatus::kFileNotFound);
    EXPECT_EQ(hkcu.ProbeDeleteKey(""), regstatus::kAccessDenied) << "a root";

    Shell& shell = stage.seam.shell;
    const RecycleBinCount bin = shell.QueryRecycleBin("");
    EXPECT_GE(bin.status, 0);
    EXPECT_EQ(shell.QueryRecycleBin("").items, bin.items);
    EXPECT_LT(shell.QueryRecycleBin("\xff:\\").status, 0) << "no drive is spelt so";
}

}  // namespace vw::contract
