#include "washers/ie/url_history.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/contract/file_cases.h"
#include "support/sim_run.h"

namespace vw {
namespace {

using contract::ErrorOf;
using Urls = std::vector<std::string>;

// 15 June 2023 12:00:00 UTC, and the same day as an OLE Automation date.
constexpr FileTime kJune15Noon{0xE920A000, 0x01D99F80};
constexpr double kJune15 = 45092;

class URLHistoryTest : public ::testing::Test {
  protected:
    HistoryEntry& Seed(const std::string& url, const std::string& title = "Title") {
        store.entries.push_back({url, title});
        return store.entries.back();
    }
    void SeedThree() {
        Seed("http://a.test/1");
        Seed("http://b.test/2");
        Seed("http://a.test/3");
    }
    bool Stored(const std::string& url) const {
        for (const HistoryEntry& e : store.entries) {
            if (e.url == url) return true;
        }
        return false;
    }

    test::SimMachine m;
    sim::SimPlatform& sim = m.sim;
    sim::SimUrlHistory& store = sim.urlHistory;
};

Urls UrlsOf(const CURLHistory& history) {
    Urls urls;
    for (const auto& item : history.NewEnum()) urls.push_back(item->URL());
    return urls;
}

TEST_F(URLHistoryTest, EmptyHistoryListsNothingAndRefusesEveryIndex) {
    CURLHistory history(sim.platform());
    EXPECT_EQ(history.Count(), 0);
    EXPECT_TRUE(history.NewEnum().empty());
    EXPECT_EQ(ErrorOf([&] { history.Item(1); }), errnum::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([&] { history.Remove(1); }), errnum::kSubscriptOutOfRange);
}

TEST_F(URLHistoryTest, ItemsHoldTheirEntriesInStoreOrder) {
    Seed("http://a.test/caf\xC3\xA9", "Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC");
    Seed("http://b.test/", "").flags = staturl::kIsTopLevel;
    CURLHistory history(sim.platform());
    ASSERT_EQ(history.Count(), 2);
    EXPECT_EQ(history.Item(1).URL(), "http://a.test/caf\xC3\xA9");
    EXPECT_EQ(history.Item(1).Title(), "Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC");
    EXPECT_EQ(history.Item(1).Flags(), 0);
    EXPECT_EQ(history.Item(2).Title(), "");
    EXPECT_EQ(history.Item(2).Flags(), static_cast<std::int32_t>(staturl::kIsTopLevel));
}

TEST_F(URLHistoryTest, TheFilterLastsOnlyUntilDeleteURLOrClear) {
    SeedThree();
    Seed("http://c.test/kept").flags = staturl::kIsTopLevel;
    store.inUse.insert("http://c.test/kept");
    CURLHistory history(sim.platform());

    history.Refresh("http://a.test/");
    EXPECT_EQ(UrlsOf(history), (Urls{"http://a.test/1", "http://a.test/3"}));
    history.DeleteURL("http://a.test/1", 0);
    EXPECT_EQ(UrlsOf(history), (Urls{"http://b.test/2", "http://a.test/3", "http://c.test/kept"}));

    // The flags reach the store's filter too.
    history.Refresh(std::nullopt, static_cast<std::int32_t>(staturl::kQueryTopLevel));
    EXPECT_EQ(UrlsOf(history), Urls{"http://c.test/kept"});

    history.Refresh("http://a.test/");
    history.Clear();
    EXPECT_EQ(UrlsOf(history), Urls{"http://c.test/kept"});
}

TEST_F(URLHistoryTest, AddURLShowsOnlyAfterTheNextRefresh) {
    Seed("http://a.test/");
    CURLHistory history(sim.platform());
    history.AddURL("http://new.test/", "New", 0);
    EXPECT_EQ(history.Count(), 1);
    history.Refresh();
    ASSERT_EQ(history.Count(), 2);
    EXPECT_EQ(history.Item(2).Title(), "New");
}

TEST_F(URLHistoryTest, RemoveDeletesFromTheStoreAndClosesTheGapWithoutReReading) {
    SeedThree();
    CURLHistory history(sim.platform());
    history.AddURL("http://unlisted.test/", "", 0);

    history.Remove(1);
    EXPECT_FALSE(Stored("http://a.test/1"));
    EXPECT_TRUE(Stored("http://unlisted.test/"));
    EXPECT_EQ(UrlsOf(history), (Urls{"http://b.test/2", "http://a.test/3"}));

    EXPECT_EQ(ErrorOf([&] { history.Remove(3); }), errnum::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([&] { history.Item(0); }), errnum::kSubscriptOutOfRange);
    EXPECT_EQ(store.entries.size(), 3u);

    history.Remove(2);
    EXPECT_FALSE(Stored("http://a.test/3"));
    EXPECT_EQ(UrlsOf(history), Urls{"http://b.test/2"});
}

TEST_F(URLHistoryTest, DatesAreLocalTimeReadAfreshFromTheirOwnFields) {
    HistoryEntry& entry = Seed("http://a.test/");
    entry.lastVisited = kJune15Noon;
    entry.expires = {0, 0x80000000};  // no calendar time
    store.localOffsetMinutes = 120;
    CURLHistory history(sim.platform());
    const URLHistoryItem& item = history.Item(1);

    EXPECT_DOUBLE_EQ(item.LastVisited(), kJune15 + 14.0 / 24);
    EXPECT_DOUBLE_EQ(item.LastVisited(), kJune15 + 14.0 / 24);
    // Before 1900 the whole part counts back and the fraction forward.
    EXPECT_DOUBLE_EQ(item.LastUpdated(), -109'205 - 2.0 / 24) << "1 January 1601, 02:00";
    EXPECT_EQ(item.Expires(), 0.0);
}

// A store call that fails: its HRESULT is raised and the list stays as the
// failure left it, though the store now holds one more entry.
struct FailureCase {
    const char* name;
    const char* call;  // the failing call
    int nth;           // on its nth next call
    std::function<void(CURLHistory&)> operation;
    Urls listed;  // the list afterwards
};

const Urls kThree = {"http://a.test/1", "http://b.test/2", "http://a.test/3"};

const std::vector<FailureCase>& FailureCases() {
    static const std::vector<FailureCase> cases = {
        {"EnumUrlsKeepsTheOldList", "EnumUrls", 1, [](CURLHistory& h) { h.Refresh("http://a"); },
         kThree},
        {"NextKeepsWhatCameBefore",
         "Next",
         2,
         [](CURLHistory& h) { h.Refresh(); },
         {"http://a.test/1"}},
        {"ClearIsNotReRead", "ClearHistory", 1, [](CURLHistory& h) { h.Clear(); }, kThree},
        {"DeleteURLIsNotReRead", "DeleteUrl", 1,
         [](CURLHistory& h) { h.DeleteURL("http://b.test/2", 0); }, kThree},
        {"RemoveKeepsTheItem", "DeleteUrl", 1, [](CURLHistory& h) { h.Remove(1); }, kThree},
        {"AddURL", "AddUrl", 1, [](CURLHistory& h) { h.AddURL("http://n.test/", "", 0); }, kThree},
    };
    return cases;
}

class URLHistoryFailureTest : public URLHistoryTest,
                              public ::testing::WithParamInterface<FailureCase> {};

TEST_P(URLHistoryFailureTest, RaisesTheResultAndStopsThere) {
    SeedThree();
    CURLHistory history(sim.platform());
    Seed("http://z.test/later");
    const HResult result = hresult::kInvalidArg;
    sim.faults.FailOn(GetParam().call, result, GetParam().nth);

    EXPECT_EQ(ErrorOf([&] { GetParam().operation(history); }), result);
    EXPECT_EQ(UrlsOf(history), GetParam().listed);
    EXPECT_TRUE(Stored("http://a.test/1") && Stored("http://b.test/2") &&
                Stored("http://z.test/later"));
}

INSTANTIATE_TEST_SUITE_P(Cases, URLHistoryFailureTest, ::testing::ValuesIn(FailureCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(URLHistoryTest, NoStoreNoHistory) {
    sim.faults.FailOn("OpenStore", hresult::kClassNotRegistered);
    EXPECT_EQ(ErrorOf([&] { CURLHistory history(sim.platform()); }), hresult::kClassNotRegistered);
}

}  // namespace
}  // namespace vw
