#include "platform/contract/contract.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"

namespace vw {
namespace {

constexpr HKey kHkcu = hkey::kCurrentUser;

// The simulation, staged through its own seeding calls.
class SimStage : public contract::Stage {
  public:
    SimStage() {
        sim.files.AddFolder(Root());
        sim.registry.AddKey(kHkcu, Scratch());
    }

    Platform& Parts() override { return sim.platform(); }
    std::string Root() override { return "C:\\vw-contract"; }
    std::string Scratch() override { return "Software\\VantrixWashContract"; }
    void MakeFile(const std::string& path, const std::string& bytes, std::uint32_t a) override {
        sim.files.AddFile(path, bytes, a == 0 ? attr::kArchive : a);
    }
    void MakeFolder(const std::string& path, std::uint32_t a) override {
        sim.files.AddFolder(path, a | attr::kDirectory);
    }
    void HoldOpen(const std::string& path) override { sim.files.HoldOpen(path); }
    bool Exists(const std::string& path) override { return sim.files.Exists(path); }
    std::string Content(const std::string& path) override { return sim.files.Content(path); }
    void AddKey(const std::string& path) override { sim.registry.AddKey(kHkcu, path); }
    void SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                  const std::string& data) override {
        sim.registry.SetValue(kHkcu, path, name, type, data);
    }
    void DenyAll(const std::string& path) override { sim.registry.DenyAll(kHkcu, path); }
    bool KeyExists(const std::string& path) override { return sim.registry.KeyExists(kHkcu, path); }
    bool ValueExists(const std::string& path, const std::string& name) override {
        return sim.registry.ValueExists(kHkcu, path, name);
    }
    void Commit(const std::string& url, std::uint32_t, std::uint32_t listedAs,
                std::size_t) override {
        sim.urlCache.entries[url] = {listedAs};
    }
    std::optional<std::size_t> OpenHandles() override { return sim.registry.OpenHandles(); }

    // Links, drives of every kind, and faults armed as a call's nth refusal.
    std::string Extra(const std::vector<std::string>& a) override {
        if (a[0] == "link") return sim.files.AddLink(a[1], a[2]), "0";
        if (a[0] == "drive") {
            sim.files.AddDrive(a[1][0], static_cast<DriveKind>(std::stoi(a[2])), a[3].empty());
            return "0";
        }
        if (a[0] != "arm") return "unsupported";
        try {
            sim.faults.FailOn(a[1], std::stol(a[2]), a[3].empty() ? 1 : std::stoi(a[3]));
            return "0";
        } catch (const std::invalid_argument&) {
            return "refused";
        }
    }

    sim::SimPlatform sim;
};

class SimContract : public ::testing::TestWithParam<contract::Case> {};

TEST_P(SimContract, BehavesLikeThePlatform) {
    SimStage stage;
    contract::Run(GetParam(), stage, "sim");
}

INSTANTIATE_TEST_SUITE_P(Cases, SimContract, ::testing::ValuesIn(contract::Cases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vw
