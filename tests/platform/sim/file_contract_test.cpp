#include <gtest/gtest.h>

#include "platform/contract/file_cases.h"
#include "platform/sim/sim_platform.h"

namespace vw {
namespace {

class SimStage : public contract::FileStage {
  public:
    explicit SimStage(contract::Needs needs) {
        sim.files.AddFolder(root_);
        if (needs == contract::Needs::kLinks) {
            // As the Win32 tests find them staged.
            MakeFolder("target");
            sim.files.AddLink(Path("victim\\link"), Path("target"));
            MakeFile("canary\\file.txt", "canary");
            MakeFolder("canary\\empty");
            MakeFile("canary\\full\\keep.txt", "keep");
            MakeFile("links\\plain.txt", "x");
            sim.files.AddLink(Path("links\\flink.txt"), Path("canary\\file.txt"));
            sim.files.AddLink(Path("links\\elink"), Path("canary\\empty"));
            sim.files.AddLink(Path("links\\dlink"), Path("canary\\full"));
        }
        if (needs == contract::Needs::kDriveWithoutMedium) {
            sim.files.AddDrive(contract::kNoMediumDrive, DriveKind::kCdRom, false);
        }
    }

    FileSystem& Files() override { return sim.files; }
    const std::string& Root() const override { return root_; }
    void MakeFolder(const std::string& name, std::uint32_t attributes = 0) override {
        sim.files.AddFolder(Path(name), attributes | attr::kDirectory);
    }
    void MakeFile(const std::string& name, const std::string& bytes,
                  std::uint32_t attributes = 0) override {
        sim.files.AddFile(Path(name), bytes, attributes == 0 ? attr::kArchive : attributes);
    }
    void HoldOpen(const std::string& name) override { sim.files.HoldOpen(Path(name)); }
    bool Exists(const std::string& name) override { return sim.files.Exists(Path(name)); }
    std::string Content(const std::string& name) override { return sim.files.Content(Path(name)); }

  private:
    std::string Path(const std::string& name) const { return root_ + "\\" + name; }

    sim::SimPlatform sim;
    std::string root_ = "C:\\t";
};

class SimFileContract : public ::testing::TestWithParam<contract::FileCase> {};

TEST_P(SimFileContract, BehavesLikeThePlatform) {
    SimStage stage(GetParam().needs);
    GetParam().run(stage);
}

INSTANTIATE_TEST_SUITE_P(Cases, SimFileContract, ::testing::ValuesIn(contract::FileCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vw
