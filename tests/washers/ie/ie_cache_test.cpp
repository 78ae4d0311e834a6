#include "washers/ie/ie_cache.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/sim_run.h"

namespace vw {
namespace {

using Entry = sim::SimUrlCache::Entry;
constexpr std::uint32_t kNormal = cacheentry::kNormal;

struct CleanerCase {
    const char* name;
    std::vector<std::pair<std::string, Entry>> cache;
    std::set<std::string> left;  // what the cleaner leaves
};

const std::vector<CleanerCase>& CleanerCases() {
    static const std::vector<CleanerCase> cases = {
        {"EmptyCache", {}, {}},
        {"NormalBitWhateverElseIsSet",
         {{"a", {kNormal}},
          {"b", {kNormal | cacheentry::kCookie}},
          {"c", {cacheentry::kSticky}},
          {"d", {kNormal | cacheentry::kSticky}},
          {"e", {cacheentry::kCookie}},
          {"f", {kNormal | cacheentry::kSparse}}},
         {"c", "e"}},
        {"NoneWithTheNormalBit",
         {{"a", {cacheentry::kSticky}}, {"b", {cacheentry::kUrlHistory}}, {"c", {0}}},
         {"a", "b", "c"}},
        {"AnEntryInUseStaysAndTheWalkGoesOn",
         {{"a", {kNormal}}, {"b", {kNormal, true}}, {"c", {kNormal}}},
         {"b"}},
        {"AFailedFetchEndsTheWalk",
         {{"a", {kNormal}}, {"b", {kNormal, false, true}}, {"c", {kNormal}}},
         {"b", "c"}},
        {"AFailedFirstFetchDeletesNothing",
         {{"a", {kNormal, false, true}}, {"b", {kNormal}}},
         {"a", "b"}},
    };
    return cases;
}

class DeleteCacheURLListTest : public ::testing::TestWithParam<CleanerCase> {};

TEST_P(DeleteCacheURLListTest, LeavesOnlyWhatItMay) {
    test::SimMachine m;
    for (const auto& [url, entry] : GetParam().cache) m.sim.urlCache.entries[url] = entry;

    DeleteCacheURLList(m.sim.platform());

    std::set<std::string> left;
    for (const auto& entry : m.sim.urlCache.entries) left.insert(entry.first);
    EXPECT_EQ(left, GetParam().left);
    // One walk, closed before the cleaner returns.
    const sim::Journal& j = m.sim.journal;
    ASSERT_GE(j.size(), 2u);
    EXPECT_EQ(sim::Journal(j.end() - 2, j.end()), (sim::Journal{"cache walk", "cache walk end"}));
    EXPECT_EQ(m.JournalCount("cache walk"), 2u);
}

INSTANTIATE_TEST_SUITE_P(Cases, DeleteCacheURLListTest, ::testing::ValuesIn(CleanerCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vw
