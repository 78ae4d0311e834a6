// The URL history store's classes on the simulated store: Wine's answers
// every call with E_NOTIMPL, so only here do its calls succeed.

#include "washers/ie/url_history.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/contract/file_cases.h"
#include "support/sim_run.h"

namespace vw {
namespace {

using contract::ErrorOf;
using Urls = std::vector<std::string>;
using Step = std::function<void(CURLHistory&)>;

Urls UrlsOf(const CURLHistory& history) {
    Urls urls;
    for (const auto& item : history.NewEnum()) urls.push_back(item->URL());
    return urls;
}

class URLHistoryTest : public ::testing::Test {
  protected:
    URLHistoryTest() {
        for (const char* url : {"http://a.test/1", "http://b.test/2", "http://a.test/3"})
            m.sim.urlHistory.entries.push_back({url, "T"});
    }
    test::SimMachine m;
};

// Each operation, then the list it leaves; the store holds a top-level entry
// in use that clearing leaves.
TEST_F(URLHistoryTest, EachOperationLeavesTheListItShould) {
    m.sim.urlHistory.entries.push_back(
        {"http://c.test/kept", "", {}, {}, {}, staturl::kIsTopLevel});
    m.sim.urlHistory.inUse.insert("http://c.test/kept");
    const Urls all = {"http://a.test/1", "http://b.test/2", "http://a.test/3",
                      "http://c.test/kept"};
    const std::pair<Step, Urls> steps[] = {
        {[](CURLHistory& h) { h.Refresh("http://a.test/"); }, {all[0], all[2]}},
        {[](CURLHistory& h) { h.AddURL("http://n.test/", "N", 0); }, {all[0], all[2]}},
        {[](CURLHistory& h) { h.DeleteURL("http://n.test/", 0); }, all},
        {[](CURLHistory& h) { h.Refresh(std::nullopt, staturl::kQueryTopLevel); }, {all[3]}},
        {[](CURLHistory& h) { h.Refresh(); }, all},
        {[](CURLHistory& h) { h.Remove(2); }, {all[0], all[2], all[3]}},
        {[](CURLHistory& h) { h.Remove(1); }, {all[2], all[3]}},
        {[](CURLHistory& h) { h.Clear(); }, {all[3]}},
    };
    CURLHistory history(m.sim.platform());
    EXPECT_EQ(history.Count(), 4);
    for (const auto& [step, listed] : steps) {
        step(history);
        EXPECT_EQ(UrlsOf(history), listed);
    }
    EXPECT_EQ(m.sim.urlHistory.entries.size(), 1u) << "Remove deletes from the store too";
    for (int bad : {0, 2})
        EXPECT_EQ(ErrorOf([&] { history.Item(bad); }), errnum::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([&] { history.Remove(2); }), errnum::kSubscriptOutOfRange);
}

// A store call that fails: its HRESULT is raised and the list stays as the
// failure left it, though the store holds one more entry by then.
TEST_F(URLHistoryTest, AFailingCallRaisesItsResultAndStopsThere) {
    const Urls three = {"http://a.test/1", "http://b.test/2", "http://a.test/3"};
    const struct {
        const char* call;
        int nth;
        Step operation;
        Urls listed;
    } cases[] = {
        {"EnumUrls", 1, [](CURLHistory& h) { h.Refresh("http://a"); }, three},
        {"Next", 2, [](CURLHistory& h) { h.Refresh(); }, {three[0]}},
        {"ClearHistory", 1, [](CURLHistory& h) { h.Clear(); }, three},
        {"DeleteUrl", 1, [](CURLHistory& h) { h.DeleteURL("http://b.test/2", 0); }, three},
        {"DeleteUrl", 1, [](CURLHistory& h) { h.Remove(1); }, three},
        {"AddUrl", 1, [](CURLHistory& h) { h.AddURL("http://n.test/", "", 0); }, three},
        {"OpenStore", 1, nullptr, {}},
    };
    for (const auto& c : cases) {
        test::SimMachine fresh;
        for (const auto& url : three) fresh.sim.urlHistory.entries.push_back({url, ""});
        std::optional<CURLHistory> history;
        if (c.operation) history.emplace(fresh.sim.platform());
        fresh.sim.urlHistory.entries.push_back({"http://z.test/later", ""});
        fresh.sim.faults.FailOn(c.call, hresult::kInvalidArg, c.nth);
        const auto run = [&] {
            c.operation ? c.operation(*history) : (void)history.emplace(fresh.sim.platform());
        };
        EXPECT_EQ(ErrorOf(run), hresult::kInvalidArg) << c.call;
        EXPECT_EQ(history ? UrlsOf(*history) : Urls{}, c.listed) << c.call;
        EXPECT_EQ(fresh.sim.urlHistory.entries.size(), 4u) << c.call;
    }
}

}  // namespace
}  // namespace vw
