#pragma once

// Whether a preview's report foretold what the wash then did, on either
// backend: each runner reads its machine into a State before and after;
// the report's changes, made to the state before, must give the state after.

#include <istream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "preview/change_log.h"
#include "preview/preview_files.h"
#include "registry/reg32.h"
#include "scenario/scenario.h"
#include "text/name_case.h"

namespace vw::test {

// What a run may change, by upper-cased name: "F" an entry's attributes and
// bytes, "K" a key, "V" a value, "U" a cache entry, "H" a history entry,
// "B" a bin that holds something (what a backend reads of it after the "|"
// or as the whole).
using State = std::map<std::string, std::string>;

inline std::string Id(const std::string& kind, std::intptr_t root, const std::string& path,
                      const std::string& name = "") {
    const std::string key =
        std::to_string(root) + "\\" + path + (kind == "value" ? "|" + name : "");
    return kind == "key"        ? "K" + UpcaseName(key)
           : kind == "value"    ? "V" + UpcaseName(key)
           : kind == "cache"    ? "U" + path
           : kind == "history"  ? "H" + path
           : kind == "recycled" ? "B"
                                : "F" + preview::PathKey(path);
}
inline std::string Id(const scn::Thing& t) {
    return Id(t.kind, t.root, t.path, t.name);
}

// Megabyte settings and lists only slow the suites: the preview's cost is
// the bench's to measure.
inline bool SmallEnough(const scn::Row& row) {
    std::size_t bytes = row.ini.size();
    for (const auto& list : row.lists) bytes += list.second.size();
    return bytes < (1u << 20);
}

// Where a change shows.
namespace action = preview::action;

inline scn::Thing Of(const preview::Change& c) {
    const std::string& act = c.action;
    scn::Thing t;
    t.path = c.target, t.name = c.value.value_or("");
    t.kind = act.find(" key") != act.npos       ? "key"
             : act == action::kDeleteValue      ? "value"
             : act == action::kDeleteCacheEntry ? "cache"
             : act == action::kEmptyRecycleBin  ? "recycled"
                                                : "file";
    std::string below;
    if (t.kind == "key" || t.kind == "value")
        t.root = std::stoll(ParseRootKey(t.path, below)), t.path = below;
    return t;
}

// What the preview's JSON report tells.
struct Report {
    std::vector<preview::Change> changes;
    std::vector<std::string> boxes;
    std::string end;
    int step = 12;
};
inline Report ReadReport(std::istream& in) {
    Report r;
    for (std::string line; std::getline(in, line);) {
        const nlohmann::json j = nlohmann::json::parse(line);
        if (j.count("box")) r.boxes.push_back(j["box"]);
        if (j.count("end")) r.end = j["end"], r.step = j.value("step", r.end == "refused" ? 0 : 12);
        if (!j.count("action")) continue;
        preview::Change& c = r.changes.emplace_back();
        c.step = j["step"], c.action = j["action"], c.target = j["target"];
        if (j.count("bytes")) c.bytes = j["bytes"];
        if (j.count("count")) c.count = j["count"];
        if (j.count("value")) c.value = j["value"];
        if (j.count("attributes")) c.attributes = j["attributes"];
    }
    return r;
}

// `s` with the changes made. A change the state cannot take (what is not
// there removed or changed, what is there made, a size or count that is not
// the state's) adds "!" and its id; "gone" takes what may be there.
inline State Applied(State s, const std::vector<preview::Change>& changes) {
    for (const preview::Change& c : changes) {
        const std::string& act = c.action;
        const std::string id = Id(Of(c));
        if (act == action::kClearHistory) {
            const auto n =
                std::count_if(s.begin(), s.end(), [](auto& e) { return e.first[0] == 'H'; });
            if (c.count && static_cast<std::uint64_t>(n) != *c.count) s["!" + id];
            for (auto h = s.lower_bound("H"); h != s.end() && h->first[0] == 'H';) h = s.erase(h);
        }
        // What shows nowhere a backend reads.
        if (act == action::kStartProgram || act == action::kClearDocumentHistory ||
            act == action::kClearHistory)
            continue;
        const bool made = act.rfind("create", 0) == 0, there = s.count(id),
                   loose = act.rfind("gone", 0) == 0;
        const bool stays = made || act == action::kSetAttributes || act == action::kOverwriteFile;
        std::string& e = s[id];
        const auto bar = e.find('|');
        const bool sized =
            !c.bytes || bar == e.npos || e.size() - bar - 1 == *c.bytes || e.substr(bar) == "|?";
        const bool counted = !c.count || e.empty() || e == std::to_string(*c.count);
        if ((!loose && made == there) || !sized || !counted) s["!" + id];
        if (act == action::kSetAttributes)
            e = std::to_string((std::stoul("0" + e) & ~7ul) | (*c.attributes & 7)) +
                e.substr(std::min(bar, e.size()));
        if (act == action::kOverwriteFile) e = e.substr(0, bar) + "|?";
        if (act == action::kCreateFolder) e = "16|";
        if (act == action::kCreateFile) e = "0|";
        // A key is made with the keys above it, and goes with its values and
        // what lies below it.
        for (std::size_t end = id.find('\\'); act == action::kCreateKey && end != id.npos;)
            s[id.substr(0, end = id.find('\\', end + 1))];
        if (!stays) s.erase(id);
        for (const std::string& below :
             {id + "\\", "V" + id.substr(1) + "|", "V" + id.substr(1) + "\\"})
            for (auto b = s.lower_bound(below);
                 !stays && id[0] == 'K' && b != s.end() && b->first.rfind(below, 0) == 0;)
                b = s.erase(b);
    }
    return s;
}

// "-" what `want` holds as `got` does not, "+" the reverse.
inline std::string Diff(const State& want, const State& got) {
    std::string out;
    for (const auto& [id, what] : want)
        if (!got.count(id) || got.at(id) != what) out += "\n  - " + id;
    for (const auto& [id, what] : got)
        if (!want.count(id)) out += "\n  + " + id;
    return out;
}

// Whether a planted thing came out as its row says, read in `now`; `value`:
// the bytes a value was planted with, as the backend reads them.
inline bool CameOut(const scn::Thing& t, const State& now, const std::string& value) {
    const auto it = now.find(Id(t));
    const std::string what = it == now.end() ? "|" : it->second;
    const bool folder = std::stoul("0" + what) & 16;
    const bool there =
        it != now.end() && (t.kind != "file" || !folder) && (t.kind != "folder" || folder);
    const bool same = t.kind == "value"
                          ? what == value
                          : t.kind != "file" || what.substr(what.find('|') + 1) == t.text;
    using scn::Outcome;
    return t.outcome == Outcome::kSet ||
           (t.outcome == Outcome::kGone ? !there : there && same == (t.outcome == Outcome::kStays));
}

// Where the changes made to `before` and `after` differ; overwritten bytes
// are not compared.
inline std::string Disagreement(const State& before, const std::vector<preview::Change>& changes,
                                State after) {
    const State foretold = Applied(before, changes);
    for (const auto& [id, what] : foretold)
        if (what.size() > 1 && what.compare(what.size() - 2, 2, "|?") == 0 && after.count(id))
            after[id] = after[id].substr(0, after[id].find('|')) + "|?";
    return Diff(foretold, after);
}

}  // namespace vw::test
