#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"
#include "probe_cases.h"

namespace vw {
namespace {

class SimProbeStage : public contract::ProbeStage {
  public:
    SimProbeStage() {
        sim.files.AddFolder(folder_);
        sim.registry.AddKey(hkey::kCurrentUser, key_);
    }
    Platform& Seam() override { return sim.platform(); }
    const std::string& Folder() const override { return folder_; }
    void MakeFile(const std::string& name, const std::string& bytes,
                  std::uint32_t attributes) override {
        sim.files.AddFile(folder_ + "\\" + name, bytes, attributes ? attributes : attr::kArchive);
    }
    void MakeFolder(const std::string& name) override {
        sim.files.AddFolder(folder_ + "\\" + name);
    }
    void HoldOpen(const std::string& name) override { sim.files.HoldOpen(folder_ + "\\" + name); }
    bool FileExists(const std::string& name) override {
        return sim.files.Exists(folder_ + "\\" + name);
    }
    const std::string& Key() const override { return key_; }
    void MakeKey(const std::string& path) override {
        sim.registry.AddKey(hkey::kCurrentUser, key_ + "\\" + path);
    }
    bool KeyExists(const std::string& path) override {
        return sim.registry.KeyExists(hkey::kCurrentUser, key_ + "\\" + path);
    }

    sim::SimPlatform sim;

  private:
    std::string folder_ = "C:\\stage";
    std::string key_ = "Software\\VantrixProbe";
};

class SimProbeContract : public ::testing::TestWithParam<contract::ProbeCase> {};

TEST_P(SimProbeContract, Holds) {
    SimProbeStage stage;
    GetParam().run(stage);
}

INSTANTIATE_TEST_SUITE_P(Sim, SimProbeContract, ::testing::ValuesIn(contract::ProbeCases()));

// What state alone cannot show, the sim stages as faults: an access list
// refusing the deletion, a drive without its medium.
TEST(SimProbeTest, AccessListAndDriveNotReady) {
    sim::SimPlatform sim;
    sim.files.AddFile("C:\\f.txt");
    sim.faults.FailOn("ProbeEntry", errnum::kPathFileAccessError);
    EXPECT_EQ(sim.files.ProbeEntry("C:\\f.txt").error, errnum::kPathFileAccessError);
    EXPECT_EQ(sim.files.ProbeEntry("C:\\f.txt").error, 0);
    sim.files.AddDrive('E', DriveKind::kRemovable, false);
    EXPECT_EQ(sim.files.ProbeEntry("E:\\f.txt").error, errnum::kDiskNotReady);
}

}  // namespace
}  // namespace vw
