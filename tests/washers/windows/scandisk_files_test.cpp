#include <gtest/gtest.h>

#include "support/sim_run.h"
#include "wash/frm_wash.h"

namespace vw {
namespace {

class ScandiskFilesTest : public ::testing::Test {
  protected:
    ScandiskFilesTest() {
        auto& fs = m.sim.files;
        m.sim.ui.drives = {"a:", "c: [SYSTEM]", "d:", "e:", "f:"};
        fs.AddDrive('D', DriveKind::kFixed);
        fs.AddDrive('E', DriveKind::kCdRom);
        fs.AddDrive('F', DriveKind::kRemote);
        fs.AddFile("C:\\FILE0001.CHK", "", attr::kReadOnly);
        fs.AddFile("C:\\hidden.chk", "", attr::kHidden);
        fs.AddFile("C:\\FOUND.000\\FILE0000.CHK", "", attr::kReadOnly);
        fs.AddFolder("C:\\FOUND.001", attr::kDirectory | attr::kHidden);
        for (const char* file :
             {"C:\\FILE0000.CHK", "C:\\WINDOWS\\deep.chk", "C:\\FOUND.002\\sub\\x",
              "C:\\FOUND.011\\kept", "C:\\notes.txt", "D:\\FILE0000.CHK", "D:\\FOUND.010\\x",
              "A:\\FILE0000.CHK", "E:\\FILE0000.CHK", "F:\\FOUND.000\\x"}) {
            fs.AddFile(file);
        }
    }
    float Run() {
        return m.Run(
            "[Standard Options]\r\nScanTempFiles=1\r\nMSOfficeTrack=1\r\n"
            "[Wash Options]\r\nSkipAllCustomWashItems=1\r\n");
    }

    test::SimMachine m;
};

TEST_F(ScandiskFilesTest, WashesTheRootsOfFixedDisksInDriveListOrder) {
    EXPECT_FLOAT_EQ(Run(), 99.0f);
    auto& fs = m.sim.files;
    for (const char* gone : {"C:\\FILE0000.CHK", "C:\\FILE0001.CHK", "C:\\FOUND.000",
                             "C:\\FOUND.002", "D:\\FILE0000.CHK", "D:\\FOUND.010"}) {
        EXPECT_FALSE(fs.Exists(gone)) << gone;
    }
    for (const char* kept :
         {"C:\\hidden.chk", "C:\\WINDOWS\\deep.chk", "C:\\FOUND.011\\kept", "C:\\FOUND.001",
          "C:\\notes.txt", "A:\\FILE0000.CHK", "E:\\FILE0000.CHK", "F:\\FOUND.000\\x"}) {
        EXPECT_TRUE(fs.Exists(kept)) << kept;
    }
    const auto at = [&](const std::string& line) {
        return std::find(m.sim.journal.begin(), m.sim.journal.end(), line);
    };
    EXPECT_LT(at("delete C:\\FILE0000.CHK"), at("delete D:\\FILE0000.CHK"));
}

TEST_F(ScandiskFilesTest, AFileNamedLikeARecoveryFolderEndsTheRun) {
    m.sim.files.AddFile("C:\\FOUND.003");
    EXPECT_FLOAT_EQ(Run(), 54.0f);  // six steps made, the seventh failed
    EXPECT_TRUE(m.sim.files.Exists("D:\\FOUND.010")) << "drives after the failure are washed";
    EXPECT_FALSE(m.Journaled("read [Standard Options] MSOfficeTrack"));
}

}  // namespace
}  // namespace vw
