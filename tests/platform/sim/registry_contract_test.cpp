#include <gtest/gtest.h>

#include "platform/contract/registry_cases.h"
#include "platform/sim/sim_platform.h"

namespace vw {
namespace {

constexpr HKey kHkcu = hkey::kCurrentUser;

class SimRegistryFixture : public contract::RegistryFixture {
  public:
    SimRegistryFixture() { sim_.registry.AddKey(kHkcu, scratch_); }

    Platform& platform() override { return sim_.platform(); }
    const std::vector<sim::SimMessageBox>& boxes() const override { return sim_.ui.boxes; }
    const std::string& scratch() const override { return scratch_; }

    void AddKey(const std::string& path) override { sim_.registry.AddKey(kHkcu, path); }
    void SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                  const std::string& data) override {
        sim_.registry.SetValue(kHkcu, path, name, type, data);
    }
    void DenyAll(const std::string& path) override { sim_.registry.DenyAll(kHkcu, path); }

    bool KeyExists(const std::string& path) override {
        return sim_.registry.KeyExists(kHkcu, path);
    }
    bool ValueExists(const std::string& path, const std::string& name) override {
        return sim_.registry.ValueExists(kHkcu, path, name);
    }
    std::optional<std::size_t> OpenHandles() const override { return sim_.registry.OpenHandles(); }

  private:
    sim::SimPlatform sim_;
    const std::string scratch_ = "Software\\VantrixWashContract";
};

// The win32 suite runs the same cases against the platform's registry.
class SimRegistryContract : public ::testing::TestWithParam<contract::RegistryCase> {};

TEST_P(SimRegistryContract, BehavesLikeThePlatform) {
    SimRegistryFixture f;
    contract::RunRegistryCase(GetParam(), f);
}

INSTANTIATE_TEST_SUITE_P(Cases, SimRegistryContract, ::testing::ValuesIn(contract::RegistryCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vw
