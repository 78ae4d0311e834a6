#include "platform/contract/contract.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"

namespace vw {
namespace {

constexpr HKey kHkcu = hkey::kCurrentUser;

struct SimStage : contract::Stage {
    SimStage() { sim.files.AddFolder(Root()), sim.registry.AddKey(kHkcu, Scratch()); }
    Platform& Parts() override { return sim.platform(); }
    std::string Root() override { return "C:\\vw-contract"; }
    std::string Scratch() override { return "Software\\VantrixWashContract"; }
    void HoldOpen(const std::string& path) override { sim.files.HoldOpen(path); }
    void SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                  const std::string& data) override {
        sim.registry.SetValue(kHkcu, path, name, type, data);
    }
    void DenyAll(const std::string& path) override { sim.registry.DenyAll(kHkcu, path); }
    void Commit(const std::string& url, std::uint32_t, std::uint32_t type, std::size_t) override {
        sim.urlCache.entries[url] = {type};
    }
    std::optional<std::size_t> OpenHandles() override { return sim.registry.OpenHandles(); }

    // Links, volume labels, drives of every kind, history entries, a key or
    // value whose deletion is refused, faults armed as a call's nth refusal.
    std::string Extra(const std::vector<std::string>& a) override try {
        const auto kind = a[0] == "drive" ? static_cast<DriveKind>(std::stoi(a[2])) : DriveKind{};
        if (a[0] == "link") return sim.files.AddLink(a[1], a[2]), "0";
        if (a[0] == "volume") return sim.files.AddFile(a[1], "", attr::kVolume), "0";
        if (a[0] == "drive") return sim.files.AddDrive(a[1][0], kind, a[3].empty()), "0";
        auto& history = sim.urlHistory;
        if (a[0] == "history") {  // a URL, its flags, "inuse": clearing leaves it
            const auto flags = a[2].empty() ? 0ul : std::stoul(a[2], nullptr, 0);
            history.entries.push_back({a[1], "T", {}, {}, {}, static_cast<std::uint32_t>(flags)});
            if (a[3] == "inuse") history.inUse.insert(a[1]);
            return "0";
        }
        if (a[0] == "stored") return std::to_string(history.entries.size());
        if (a[0] == "refuse" && a[2].empty()) return sim.registry.RefuseDelete(kHkcu, a[1]), "0";
        if (a[0] == "refuse") return sim.registry.RefuseValueDelete(kHkcu, a[1], a[2]), "0";
        if (a[0] != "arm") return "unsupported";
        return sim.faults.FailOn(a[1], std::stol(a[2]), a[3].empty() ? 1 : std::stoi(a[3])), "0";
    } catch (const std::invalid_argument&) {
        return "refused";
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
