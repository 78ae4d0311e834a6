#include "platform/contract/url_cases.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "platform/contract/file_cases.h"

namespace vw::contract {

namespace {

constexpr std::uint32_t kNormal = cacheentry::kNormal;
constexpr double kLastSecond = 86'399.0 / 86'400;

// Each case's entries under a path of its own.
std::string Url(const std::string& path) {
    return "http://vantrix.test/contract/" + path;
}

// The staged entries a walk lists now, by URL, with their types.
std::map<std::string, std::uint32_t> Listed(UrlCache& cache,
                                            const std::map<std::string, std::uint32_t>& ours,
                                            bool deleting) {
    std::map<std::string, std::uint32_t> listed;
    const std::unique_ptr<CacheWalk> walk = cache.Walk();
    CacheEntry entry;
    while (walk->Next(entry)) {
        if (ours.count(entry.url) == 0) continue;
        EXPECT_EQ(listed.count(entry.url), 0u) << "listed twice: " << entry.url;
        listed[entry.url] = entry.type;
        if (deleting) {
            EXPECT_TRUE(cache.DeleteEntry(entry.url)) << entry.url;
        }
    }
    return listed;
}

}  // namespace

const std::vector<CacheCase>& CacheCases() {
    static const std::vector<CacheCase> cases = {
        {"ordinary_entries",
         {{Url("a.htm"), kNormal, kNormal}, {Url("b.gif"), kNormal, kNormal}},
         false},
        {"a_cookie_is_committed_as_an_ordinary_entry",
         {{Url("cookie.txt"), cacheentry::kCookie, cacheentry::kCookie | kNormal}},
         true},
        {"a_history_entry_keeps_its_bits",
         {{"Visited: user@" + Url("visited.htm"), cacheentry::kUrlHistory,
           cacheentry::kUrlHistory}},
         true},
        {"deleted_while_walking_the_walk_goes_on",
         {{Url("1.htm"), kNormal, kNormal},
          {Url("2.htm"), kNormal, kNormal},
          {Url("3.htm"), kNormal, kNormal},
          {Url("4.htm"), kNormal, kNormal}},
         true},
        {"a_query_and_escapes", {{Url("q.asp?a=1&b=%41+c"), kNormal, kNormal}}, true},
        {"latin_letters_committed_in_ansi", {{Url("caf\xC3\xA9.htm"), kNormal, kNormal}}, true},
        {"an_entry_larger_than_a_first_buffer",
         {{Url(std::string(2000, 'x')), kNormal, kNormal, 6000},
          {Url("after.htm"), kNormal, kNormal}},
         true},
    };
    return cases;
}

void RunCacheCase(CacheStage& stage, const CacheCase& c) {
    std::map<std::string, std::uint32_t> ours;
    for (const StagedCacheEntry& entry : c.entries) {
        stage.Commit(entry);
        ours[entry.url] = entry.listedAs;
        // The platform would end the name at the NUL: it must name nothing.
        EXPECT_FALSE(stage.Cache().DeleteEntry(entry.url + std::string(1, '\0') + "x"));
    }
    EXPECT_EQ(Listed(stage.Cache(), ours, c.deleteWhileWalking), ours);
    // What a walk deleted is gone; the rest goes now, once.
    for (const auto& [url, type] : ours) {
        EXPECT_EQ(stage.Cache().DeleteEntry(url), !c.deleteWhileWalking) << url;
        EXPECT_FALSE(stage.Cache().DeleteEntry(url)) << url;
    }
    EXPECT_TRUE(Listed(stage.Cache(), ours, false).empty());
}

const std::vector<DateCase>& DateCases() {
    static const std::vector<DateCase> cases = {
        {"the_first_file_time", {0, 0}, -109'205.0},
        {"before_the_epoch_the_fraction_counts_forward", {0xC93D7000, 0x014F3512}, -1.25},
        {"the_epoch", {0xA90CC000, 0x014F35A9}, 0.0},
        {"past_the_missing_leap_day_of_1900", {0xC43F8000, 0x014F6598}, 61.0},
        {"milliseconds_are_dropped", {0xE96CEB40, 0x01D99F80}, 45'092.5},
        {"a_leap_day", {0x675298F0, 0x01DA6B6B}, 45'351 + kLastSecond},
        {"the_last_second_of_9999", {0xD127A980, 0x24C85A5E}, 2'958'465 + kLastSecond},
        {"the_year_10000_has_no_date", {0xD1C04000, 0x24C85A5E}, 0.0},
        {"no_calendar_time", {0, 0x80000000}, 0.0},
    };
    return cases;
}

const std::vector<StoreCase>& StoreCases() {
    static const std::vector<StoreCase> cases = {
        {"add", "AddUrl", [](HistoryStore& s) { s.AddUrl(Url("h.htm"), "title", 0); }},
        {"delete", "DeleteUrl", [](HistoryStore& s) { s.DeleteUrl(Url("h.htm"), 0); }},
        {"clear", "ClearHistory", [](HistoryStore& s) { s.ClearHistory(); }},
        {"enumerate", "EnumUrls", [](HistoryStore& s) { s.EnumUrls(std::nullopt, 0); }},
        {"enumerate_a_prefix", "EnumUrls",
         [](HistoryStore& s) { s.EnumUrls(Url(""), staturl::kQueryTopLevel); }},
    };
    return cases;
}

}  // namespace vw::contract
