#include "washers/ie/ie_cache.h"

#include <gtest/gtest.h>

#include "support/sim_run.h"

namespace vw {
namespace {

class DeleteCacheURLListTest : public ::testing::Test {
  protected:
    // Every path leaves no walk open and no block held.
    void TearDown() override {
        EXPECT_EQ(cache.OpenHandles(), 0u);
        EXPECT_EQ(cache.LiveBlocks(), 0u);
    }

    std::size_t Deletes() const { return m.JournalCount("DeleteUrlCacheEntryA"); }

    test::SimMachine m;
    sim::SimPlatform& sim = m.sim;
    sim::SimUrlCache& cache = sim.urlCache;
};

TEST_F(DeleteCacheURLListTest, EmptyCacheDeletesNothingAndAllocatesNothing) {
    DeleteCacheURLList(sim.platform());
    EXPECT_EQ(Deletes(), 0u);
    EXPECT_TRUE(cache.AllocationSizes().empty());
}

TEST_F(DeleteCacheURLListTest, DeletesEveryEntryWithTheNormalBitWhateverElseIsSet) {
    cache.AddEntry("http://a.test/", cacheentry::kNormal);
    cache.AddEntry("http://b.test/cookie", cacheentry::kNormal | cacheentry::kCookie);
    cache.AddEntry("http://c.test/pinned", cacheentry::kSticky);
    cache.AddEntry("http://d.test/", cacheentry::kNormal | cacheentry::kSticky);
    cache.AddEntry("http://e.test/cookie", cacheentry::kCookie);
    cache.AddEntry("http://f.test/last", cacheentry::kNormal | cacheentry::kSparse);

    DeleteCacheURLList(sim.platform());

    EXPECT_EQ(cache.EntryCount(), 2u);
    EXPECT_TRUE(cache.Contains("http://c.test/pinned"));
    EXPECT_TRUE(cache.Contains("http://e.test/cookie"));
    // One exactly sized buffer per entry, none after the last.
    ASSERT_EQ(cache.AllocationSizes().size(), 6u);
    for (std::size_t size : cache.AllocationSizes()) EXPECT_GE(size, sizeof(CacheEntryInfo));
}

TEST_F(DeleteCacheURLListTest, EntriesWithoutTheNormalBitAreVisitedAndKept) {
    cache.AddEntry("http://a.test/", cacheentry::kSticky);
    cache.AddEntry("http://b.test/visited", cacheentry::kUrlHistory);
    cache.AddEntry("http://c.test/cookie", cacheentry::kCookie);

    DeleteCacheURLList(sim.platform());

    EXPECT_EQ(cache.EntryCount(), 3u);
    EXPECT_EQ(Deletes(), 0u);
    EXPECT_EQ(cache.AllocationSizes().size(), 3u);
}

TEST_F(DeleteCacheURLListTest, AnEntryInUseStaysAndTheWalkGoesOn) {
    cache.AddEntry("http://a.test/", cacheentry::kNormal);
    cache.AddEntry("http://b.test/busy", cacheentry::kNormal);
    cache.AddEntry("http://c.test/", cacheentry::kNormal);
    cache.Lock("http://b.test/busy");

    DeleteCacheURLList(sim.platform());

    EXPECT_EQ(cache.EntryCount(), 1u);
    EXPECT_TRUE(cache.Contains("http://b.test/busy"));
    EXPECT_EQ(Deletes(), 3u);
}

// Faults that end the walk early: whatever was deleted stays deleted.
TEST_F(DeleteCacheURLListTest, AFailedAllocationOrFetchEndsTheWalk) {
    const auto seed = [this] {
        for (const char* url : {"http://a.test/", "http://b.test/", "http://c.test/"}) {
            cache.AddEntry(url, cacheentry::kNormal);
        }
    };

    seed();
    sim.faults.FailOn("LocalAlloc", cacheerror::kNotEnoughMemory, 1);
    DeleteCacheURLList(sim.platform());
    EXPECT_EQ(cache.EntryCount(), 3u) << "no buffer for the first entry";
    EXPECT_EQ(cache.OpenHandles(), 0u);

    sim.faults.FailOn("LocalAlloc", cacheerror::kNotEnoughMemory, 2);
    DeleteCacheURLList(sim.platform());
    EXPECT_FALSE(cache.Contains("http://a.test/"));
    EXPECT_EQ(cache.EntryCount(), 2u) << "no buffer for the second entry";
    EXPECT_EQ(cache.OpenHandles(), 0u);

    seed();
    // Each further entry takes a probe and a fetch: the second call fetches b.
    sim.faults.FailOn("FindNextUrlCacheEntryA", cacheerror::kInsufficientBuffer, 2);
    DeleteCacheURLList(sim.platform());
    EXPECT_FALSE(cache.Contains("http://a.test/"));
    EXPECT_TRUE(cache.Contains("http://b.test/"));
    EXPECT_TRUE(cache.Contains("http://c.test/"));
}

TEST_F(DeleteCacheURLListTest, AProbeThatDoesNotAskForABufferEndsTheWalkUntouched) {
    cache.AddEntry("http://a.test/", cacheentry::kNormal);
    sim.faults.FailOn("FindFirstUrlCacheEntryA", 5);
    DeleteCacheURLList(sim.platform());
    EXPECT_TRUE(cache.Contains("http://a.test/"));
    EXPECT_TRUE(cache.AllocationSizes().empty());
}

TEST(PtrToAnsiString, CopiesTheBytesUpToTheTerminator) {
    const char source[] = "http://caf\xE9.test/\0tail";
    const std::string text = PtrToAnsiString(source);
    EXPECT_EQ(text, "http://caf\xE9.test/");
    EXPECT_EQ(PtrToAnsiString(nullptr), "");
}

}  // namespace
}  // namespace vw
