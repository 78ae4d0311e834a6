#include "washers/ie/url_history.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/contract/file_cases.h"
#include "support/sim_run.h"

namespace vw {
namespace {

using contract::ErrorOf;

// 15 June 2023 12:00:00 UTC, and the same day as an OLE Automation date.
constexpr FileTime kJune15Noon{0xE920A000, 0x01D99F80};
constexpr double kJune15 = 45092;

class URLHistoryTest : public ::testing::Test {
  protected:
    void Seed(const std::u16string& url, std::optional<std::u16string> title = u"Title") {
        sim::SimUrlHistory::Entry entry;
        entry.url = url;
        entry.title = std::move(title);
        store.entries.push_back(entry);
    }
    void SeedThree() {
        Seed(u"http://a.test/1");
        Seed(u"http://b.test/2");
        Seed(u"http://a.test/3");
    }

    static std::vector<std::u16string> Urls(const CURLHistory& history) {
        std::vector<std::u16string> urls;
        for (const auto& item : history.NewEnum()) urls.push_back(item->URL());
        return urls;
    }

    test::SimMachine m;
    sim::SimPlatform& sim = m.sim;
    sim::SimUrlHistory& store = sim.urlHistory;
};

TEST_F(URLHistoryTest, EmptyHistoryListsNothingAndRefusesEveryIndex) {
    CURLHistory history(sim.platform());
    EXPECT_EQ(history.Count(), 0);
    EXPECT_TRUE(history.NewEnum().empty());
    EXPECT_EQ(ErrorOf([&] { history.Item(1); }), errnum::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([&] { history.Remove(1); }), errnum::kSubscriptOutOfRange);
    EXPECT_EQ(m.JournalCount("DeleteUrl"), 0u);
}

TEST_F(URLHistoryTest, ItemsHoldTheirEntriesInStoreOrderAndFreeTheirStrings) {
    Seed(u"http://a.test/", u"A page");
    Seed(u"http://b.test/", std::nullopt);
    store.entries.back().flags = staturl::kIsTopLevel;
    {
        CURLHistory history(sim.platform());
        ASSERT_EQ(history.Count(), 2);
        EXPECT_EQ(history.Item(1).URL(), u"http://a.test/");
        EXPECT_EQ(history.Item(1).Title(), u"A page");
        EXPECT_EQ(history.Item(2).Title(), u"");
        EXPECT_EQ(history.Item(2).Flags(), static_cast<std::int32_t>(staturl::kIsTopLevel));
        EXPECT_EQ(store.LiveEnumerators(), 0u);
        // A re-read replaces the items, and with them their strings.
        history.Refresh();
        EXPECT_EQ(store.LiveStrings(), 3u);
    }
    EXPECT_EQ(store.LiveStrings(), 0u);
    EXPECT_EQ(store.LiveStores(), 0u);
}

TEST_F(URLHistoryTest, APrefixFilterLastsOnlyUntilDeleteURLOrClear) {
    SeedThree();
    Seed(u"http://c.test/kept");
    store.entries.back().survivesClear = true;
    CURLHistory history(sim.platform());

    history.Refresh(u"http://a.test/");
    EXPECT_EQ(Urls(history), (std::vector<std::u16string>{u"http://a.test/1", u"http://a.test/3"}));
    history.DeleteURL(u"http://a.test/1", 0);
    EXPECT_EQ(Urls(history), (std::vector<std::u16string>{u"http://b.test/2", u"http://a.test/3",
                                                          u"http://c.test/kept"}));

    history.Refresh(u"http://a.test/");
    history.Clear();
    EXPECT_EQ(Urls(history), std::vector<std::u16string>{u"http://c.test/kept"});
}

TEST_F(URLHistoryTest, AddURLShowsOnlyAfterTheNextRefresh) {
    Seed(u"http://a.test/");
    CURLHistory history(sim.platform());
    history.AddURL(u"http://new.test/", u"New", 0);
    EXPECT_EQ(history.Count(), 1);
    history.Refresh();
    ASSERT_EQ(history.Count(), 2);
    EXPECT_EQ(history.Item(2).Title(), u"New");
}

TEST_F(URLHistoryTest, RemoveDeletesFromTheStoreAndClosesTheGapWithoutReReading) {
    SeedThree();
    CURLHistory history(sim.platform());
    history.AddURL(u"http://unlisted.test/", u"", 0);

    history.Remove(1);
    EXPECT_TRUE(m.Journaled("DeleteUrl 0 http://a.test/1"));
    EXPECT_EQ(store.entries.size(), 3u);
    EXPECT_EQ(Urls(history), (std::vector<std::u16string>{u"http://b.test/2", u"http://a.test/3"}));

    EXPECT_EQ(ErrorOf([&] { history.Remove(3); }), errnum::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([&] { history.Item(0); }), errnum::kSubscriptOutOfRange);
    EXPECT_EQ(store.entries.size(), 3u);
}

TEST_F(URLHistoryTest, DatesAreLocalTimeReadAfreshFromTheStoredRecord) {
    Seed(u"http://a.test/");
    store.entries.back().lastVisited = kJune15Noon;
    store.entries.back().expires = {0, 0x80000000};  // beyond any SYSTEMTIME
    store.localOffsetMinutes = 120;
    CURLHistory history(sim.platform());
    const URLHistoryItem& item = history.Item(1);

    EXPECT_DOUBLE_EQ(item.LastVisited(), kJune15 + 14.0 / 24);
    EXPECT_DOUBLE_EQ(item.LastVisited(), kJune15 + 14.0 / 24);
    // Before 1900 the whole part counts back and the fraction forward.
    EXPECT_DOUBLE_EQ(item.LastUpdated(), -109'205 - 2.0 / 24) << "1 January 1601, 02:00";
    EXPECT_EQ(item.Expires(), 0.0);

    sim.faults.FailOn("FileTimeToLocalFileTime", 1);
    EXPECT_DOUBLE_EQ(item.LastVisited(), kJune15 + 12.0 / 24) << "left in UTC";
    sim.faults.FailOn("SystemTimeToVariantTime", 1);
    EXPECT_EQ(item.LastVisited(), 0.0);
}

TEST_F(URLHistoryTest, FailingStoreCallsRaiseTheirResultAndLeaveTheListAsItWas) {
    sim.faults.FailOn("CoCreateInstance", hresult::kClassNotRegistered);
    EXPECT_EQ(ErrorOf([&] { CURLHistory history(sim.platform()); }), hresult::kClassNotRegistered);

    SeedThree();
    CURLHistory history(sim.platform());
    sim.faults.FailOn("EnumUrls", hresult::kFail);
    EXPECT_EQ(ErrorOf([&] { history.Refresh(u"http://a.test/"); }), hresult::kFail);
    EXPECT_EQ(history.Count(), 3);
    sim.faults.FailOn("SetFilter", hresult::kInvalidArg);
    EXPECT_EQ(ErrorOf([&] { history.Refresh(u"http://a.test/"); }), hresult::kInvalidArg);
    EXPECT_EQ(history.Count(), 3);

    sim.faults.FailOn("DeleteUrl", hresult::kFail);
    EXPECT_EQ(ErrorOf([&] { history.Remove(1); }), hresult::kFail);
    EXPECT_EQ(history.Count(), 3);

    store.entries.clear();
    sim.faults.FailOn("ClearHistory", hresult::kNotImplemented);
    const std::size_t enumerations = m.JournalCount("EnumUrls");
    EXPECT_EQ(ErrorOf([&] { history.Clear(); }), hresult::kNotImplemented);
    EXPECT_EQ(history.Count(), 3);
    EXPECT_EQ(m.JournalCount("EnumUrls"), enumerations) << "not re-read";

    SeedThree();
    sim.faults.FailOn("Next", hresult::kFail, 2);
    EXPECT_EQ(ErrorOf([&] { history.Refresh(); }), hresult::kFail);
    EXPECT_EQ(Urls(history), std::vector<std::u16string>{u"http://a.test/1"});
    EXPECT_EQ(store.LiveEnumerators(), 0u);
}

}  // namespace
}  // namespace vw
