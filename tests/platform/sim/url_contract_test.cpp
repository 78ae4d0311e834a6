#include <gtest/gtest.h>

#include "platform/contract/file_cases.h"
#include "platform/contract/url_cases.h"
#include "platform/sim/sim_platform.h"

namespace vw {
namespace {

class SimCacheStage : public contract::CacheStage {
  public:
    UrlCache& Cache() override { return sim.urlCache; }
    void Commit(const contract::StagedCacheEntry& entry) override {
        sim.urlCache.entries[entry.url] = {entry.listedAs};
    }

    sim::SimPlatform sim;
};

template <typename Case>
std::string NameOf(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

class SimCacheContract : public ::testing::TestWithParam<contract::CacheCase> {};

TEST_P(SimCacheContract, BehavesLikeThePlatform) {
    SimCacheStage stage;
    contract::RunCacheCase(stage, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Cases, SimCacheContract, ::testing::ValuesIn(contract::CacheCases()),
                         NameOf<contract::CacheCase>);

class SimDateContract : public ::testing::TestWithParam<contract::DateCase> {};

TEST_P(SimDateContract, ConvertsLikeThePlatform) {
    sim::SimPlatform sim;
    EXPECT_NEAR(sim.urlHistory.LocalDate(GetParam().utc), GetParam().date, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Cases, SimDateContract, ::testing::ValuesIn(contract::DateCases()),
                         NameOf<contract::DateCase>);

class SimStoreContract : public ::testing::TestWithParam<contract::StoreCase> {};

TEST_P(SimStoreContract, FailsLikeThePlatform) {
    sim::SimPlatform sim;
    const std::unique_ptr<HistoryStore> store = sim.urlHistory.OpenStore();
    sim.faults.FailOn(GetParam().call, hresult::kNotImplemented);
    EXPECT_EQ(contract::ErrorOf([&] { GetParam().run(*store); }), hresult::kNotImplemented);
}

INSTANTIATE_TEST_SUITE_P(Cases, SimStoreContract, ::testing::ValuesIn(contract::StoreCases()),
                         NameOf<contract::StoreCase>);

}  // namespace
}  // namespace vw
