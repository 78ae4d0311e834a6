#include <gtest/gtest.h>

#include "platform/contract/file_cases.h"
#include "platform/sim/sim_platform.h"

namespace vw {
namespace {

class SimStage : public contract::FileStage {
  public:
    SimStage() { sim.files.AddFolder(root_); }

    FileSystem& Files() override { return sim.files; }
    const std::string& Root() const override { return root_; }
    void MakeFolder(const std::string& name, std::uint32_t attributes) override {
        sim.files.AddFolder(Path(name), attributes | attr::kDirectory);
    }
    void MakeFile(const std::string& name, const std::string& bytes,
                  std::uint32_t attributes) override {
        sim.files.AddFile(Path(name), bytes, attributes == 0 ? attr::kArchive : attributes);
    }
    void HoldOpen(const std::string& name) override { sim.files.SetInUse(Path(name)); }
    bool Exists(const std::string& name) override { return sim.files.Exists(Path(name)); }
    std::string Content(const std::string& name) override { return sim.files.Content(Path(name)); }

    std::string Path(const std::string& name) const { return root_ + "\\" + name; }

    sim::SimPlatform sim;

  private:
    std::string root_ = "C:\\t";
};

class SimFileContract : public ::testing::TestWithParam<contract::FileCase> {};

TEST_P(SimFileContract, BehavesLikeThePlatform) {
    SimStage stage;
    GetParam().run(stage);
}

INSTANTIATE_TEST_SUITE_P(Cases, SimFileContract, ::testing::ValuesIn(contract::FileCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SimFileLinkContract, DeleteFolderRemovesTheLinkNotItsTarget) {
    SimStage stage;
    stage.sim.files.AddFolderLink(stage.Path("victim\\link"), stage.Path("target"));
    contract::RunFolderLinkCase(stage, true);
}

TEST(SimFileLinkContract, NothingButReadingReachesALinkTarget) {
    SimStage stage;
    stage.MakeFile("canary\\file.txt", "canary", 0);
    stage.MakeFolder("canary\\empty", 0);
    stage.MakeFile("canary\\full\\keep.txt", "keep", 0);
    stage.MakeFile("links\\plain.txt", "x", 0);
    stage.sim.files.AddFileLink(stage.Path("links\\flink.txt"), stage.Path("canary\\file.txt"));
    stage.sim.files.AddFolderLink(stage.Path("links\\elink"), stage.Path("canary\\empty"));
    stage.sim.files.AddFolderLink(stage.Path("links\\dlink"), stage.Path("canary\\full"));
    contract::RunLinkTargetsCase(stage);
}

TEST(SimFileContract, ADriveWithoutAMediumRaisesOnListing) {
    SimStage stage;
    stage.sim.files.AddDrive('N', drivetype::kCdRom);
    stage.sim.files.SetDriveReady('N', false);
    contract::RunNotReadyDriveCase(stage.Files(), 'N');
}

TEST(SimListingContract, ListsEveryCaseLikeThePlatform) {
    SimStage stage;
    contract::ExpectListings(stage, contract::ListingTree(), contract::ListingCases());
    // A drive root has no "." and "..".
    EXPECT_EQ(contract::ListNames(stage.Files(), "C:\\*", attr::kDirectory),
              (std::set<std::string>{"t", "Program Files"}));
}

TEST(SimListingContract, ListsTheWashersMasksLikeThePlatform) {
    SimStage stage;
    contract::ExpectListings(stage, contract::WildcardTree(), contract::WildcardCases());
}

}  // namespace
}  // namespace vw
