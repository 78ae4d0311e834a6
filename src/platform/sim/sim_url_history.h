#pragma once

#include <algorithm>
#include <list>
#include <set>

#include "platform/sim/sim_faults.h"
#include "platform/url_history.h"

namespace vw::sim {

// A URL history store. A fault armed by call name ("OpenStore", "AddUrl",
// "DeleteUrl", "ClearHistory", "EnumUrls", "Next") raises its number as the
// call's HRESULT, as the real store's failures do. A store journals "history
// open", "history clear" and, when released, "history close".
class SimUrlHistory : public UrlHistory {
  public:
    SimUrlHistory(SimFaults& faults, Journal& journal) : faults_(faults), journal_(journal) {}

    std::list<HistoryEntry> entries;      // in the store's order; AddUrl appends
    std::set<std::string> inUse;          // URLs that ClearHistory leaves
    std::int64_t localOffsetMinutes = 0;  // local time is UTC plus this

    std::unique_ptr<HistoryStore> OpenStore() override {
        faults_.Check("OpenStore");
        return std::make_unique<Store>(*this);
    }

    double LocalDate(const FileTime& utc) override {
        const std::uint64_t ticks = std::uint64_t{utc.dwHighDateTime} << 32 | utc.dwLowDateTime;
        const auto s = static_cast<std::int64_t>(ticks / 10'000'000) + localOffsetMinutes * 60;
        // No date before 1601, nor from the year 10000 on (3,067,671 days later).
        if (ticks >> 63 || s < 0 || s >= std::int64_t{3'067'671} * 86'400) return 0;
        // Days since 30 December 1899, whole seconds; before that day the
        // whole part counts back and the fraction forward.
        const auto days = static_cast<double>(s / 86'400 - 109'205), time = s % 86'400 / 86'400.;
        return days < 0 ? days - time : days + time;
    }

  private:
    // A walk over the entries listed when it began.
    struct Walk : HistoryWalk {
        Walk(SimFaults& f, std::vector<HistoryEntry> e) : faults(f), left(std::move(e)) {}
        bool Next(HistoryEntry& entry) override {
            faults.Check("Next");
            if (next < left.size()) entry = left[next];
            return next++ < left.size();
        }
        SimFaults& faults;
        std::vector<HistoryEntry> left;
        std::size_t next = 0;
    };

    struct Store : HistoryStore {
        explicit Store(SimUrlHistory& s) : sim(s) { sim.journal_.push_back("history open"); }
        ~Store() override { sim.journal_.push_back("history close"); }

        void AddUrl(const std::string& url, const std::string& title, std::uint32_t) override {
            sim.faults_.Check("AddUrl");
            sim.entries.remove_if([&](const HistoryEntry& e) { return e.url == url; });
            sim.entries.push_back({url, title});
        }
        void DeleteUrl(const std::string& url, std::uint32_t) override {
            sim.faults_.Check("DeleteUrl");
            sim.entries.remove_if([&](const HistoryEntry& e) { return e.url == url; });
        }
        void ClearHistory() override {
            sim.faults_.Check("ClearHistory");
            sim.journal_.push_back("history clear");
            sim.entries.remove_if([&](auto& e) { return sim.inUse.count(e.url) == 0; });
        }
        // The top-level query flag lists only entries with the top-level bit.
        std::unique_ptr<HistoryWalk> EnumUrls(const std::optional<std::string>& prefix,
                                              std::uint32_t flags) override {
            sim.faults_.Check("EnumUrls");
            const std::uint32_t need = flags & staturl::kQueryTopLevel ? staturl::kIsTopLevel : 0;
            std::vector<HistoryEntry> listed;
            std::copy_if(
                sim.entries.begin(), sim.entries.end(), std::back_inserter(listed), [&](auto& e) {
                    return (!prefix || e.url.rfind(*prefix, 0) == 0) && (e.flags & need) == need;
                });
            return std::make_unique<Walk>(sim.faults_, std::move(listed));
        }

        SimUrlHistory& sim;
    };

    SimFaults& faults_;
    Journal& journal_;
};

}  // namespace vw::sim
