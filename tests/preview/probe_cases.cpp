#include "probe_cases.h"

#include <gtest/gtest.h>

#include "platform/run_error.h"

namespace vw::contract {

namespace {

using namespace errnum;

// Probing a file: what a removal would meet, with the file left as it was.
struct FileProbe {
    const char* name;
    const char* stage;  // "file", "readonly", "held", "folder" or "" for nothing
    const char* path;   // probed, below the stage's folder
    long error;
    std::uint32_t has;  // attribute bits it must report
    std::uint64_t size;
};

const FileProbe kFileProbes[] = {
    {"a plain file, with its size", "file", "f.txt", 0, attr::kArchive, 5},
    {"a read-only file: the bit is told, not judged", "readonly", "f.txt", 0, attr::kReadOnly, 5},
    {"a file held open without sharing", "held", "f.txt", kPermissionDenied, 0, 0},
    {"a folder", "folder", "f.txt", 0, attr::kDirectory, 0},
    {"no such file", "", "f.txt", kFileNotFound, 0, 0},
    {"no folder on the way", "", "none\\f.txt", kPathNotFound, 0, 0},
};

void ProbeFile(ProbeStage& stage, const FileProbe& c) {
    const std::string s = c.stage;
    if (s == "file" || s == "held") stage.MakeFile("f.txt", "bytes");
    if (s == "readonly") stage.MakeFile("f.txt", "bytes", attr::kReadOnly);
    if (s == "held") stage.HoldOpen("f.txt");
    if (s == "folder") stage.MakeFolder("f.txt");
    const EntryProbe probe = stage.Seam().files.ProbeEntry(stage.Folder() + "\\" + c.path);
    EXPECT_EQ(probe.error, c.error);
    EXPECT_EQ(probe.attributes & c.has, c.has);
    if (c.error == 0 && !(c.has & attr::kDirectory)) {
        EXPECT_EQ(probe.size, c.size);
    }
    if (!s.empty()) {
        EXPECT_TRUE(stage.FileExists("f.txt"));
    }
}

}  // namespace

const std::vector<ProbeCase>& ProbeCases() {
    static const std::vector<ProbeCase> cases = [] {
        std::vector<ProbeCase> all;
        for (const FileProbe& c : kFileProbes) {
            all.push_back({std::string("ProbeEntry: ") + c.name,
                           [c](ProbeStage& stage) { ProbeFile(stage, c); }});
        }
        all.push_back(
            {"ProbeDeleteKey: a key, its subkeys aside, and it stays", [](ProbeStage& stage) {
                 stage.MakeKey("k\\sub");
                 RegKey& hkcu = stage.Seam().registry.Root(hkey::kCurrentUser);
                 EXPECT_EQ(hkcu.ProbeDeleteKey(stage.Key() + "\\k"), regstatus::kSuccess);
                 EXPECT_EQ(hkcu.ProbeDeleteKey(stage.Key() + "\\k\\sub"), regstatus::kSuccess);
                 EXPECT_TRUE(stage.KeyExists("k\\sub"));
             }});
        all.push_back({"ProbeDeleteKey: missing, and a root", [](ProbeStage& stage) {
                           RegKey& hkcu = stage.Seam().registry.Root(hkey::kCurrentUser);
                           EXPECT_EQ(hkcu.ProbeDeleteKey(stage.Key() + "\\none"),
                                     regstatus::kFileNotFound);
                           EXPECT_EQ(hkcu.ProbeDeleteKey(""), regstatus::kAccessDenied);
                       }});
        all.push_back(
            {"QueryRecycleBin: counts without emptying, refuses a non-name", [](ProbeStage& stage) {
                 Shell& shell = stage.Seam().shell;
                 const RecycleBinCount before = shell.QueryRecycleBin("");
                 EXPECT_GE(before.status, 0);
                 EXPECT_EQ(shell.QueryRecycleBin("").items, before.items);
                 EXPECT_LT(shell.QueryRecycleBin("\xff:\\").status, 0);
             }});
        return all;
    }();
    return cases;
}

}  // namespace vw::contract
