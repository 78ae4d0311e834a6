// Every row of the wash table, run by Main on a fresh simulated machine.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <sstream>

#include "preview/preview_run.h"
#include "preview/report.h"
#include "scenario/scenario.h"
#include "startup/main.h"
#include "support/agreement.h"
#include "support/sim_run.h"

namespace vw {
namespace scn {
// Names a failing row by where it is written.
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.file << ":" << row.line;
}
}  // namespace scn
namespace {

using scn::Outcome;
using namespace std::string_literals;

void Stage(const scn::Row& row, test::SimMachine& m) {
    auto& fs = m.sim.files;
    auto& reg = m.sim.registry;
    for (const auto& d : row.drives) {
        fs.AddDrive(d.letter, static_cast<DriveKind>(d.kind), !d.notReady);
        auto& list = m.sim.ui.drives;  // the drive list the window shows
        const char letter = static_cast<char>(std::tolower(d.letter));
        if (std::none_of(list.begin(), list.end(), [&](auto& e) { return e[0] == letter; }))
            list.push_back(std::string(1, letter) + ":");
        std::sort(list.begin(), list.end());
    }
    if (!row.temp.empty()) fs.tempPath = row.temp + "\\";
    // Links last: a folder link needs its target there.
    for (const bool links : {false, true})
        for (const auto& t : row.things) {
            if ((t.kind == "link") != links) continue;
            if (t.kind == "link") fs.AddLink(t.path, t.name);
            if (t.kind == "folder") fs.AddFolder(t.path, attr::kDirectory | t.bits);
            if (t.kind == "file") fs.AddFile(t.path, t.text, t.bits ? t.bits : attr::kArchive);
            if (t.kind == "key") reg.AddKey(t.root, t.path);
            if (t.kind == "value")
                reg.SetValue(t.root, t.path, t.name, t.type, t.text + (t.type == 1 ? "\0"s : ""));
            if (t.kind == "cache")
                m.sim.urlCache.entries[t.path] = {t.bits, t.name.find("inuse") != std::string::npos,
                                                  t.name.find("fetchfails") != std::string::npos};
            if (t.kind == "history") m.sim.urlHistory.entries.push_back({t.path, "title"});
            m.sim.shell.recycled += t.kind == "recycled";
        }
    for (const auto& t : row.things) {
        if (t.locked && t.kind == "file") fs.HoldOpen(t.path);
        if (t.locked && t.kind == "key") reg.DenyAll(t.root, t.path);
    }
    const std::string program = m.sim.process.programFolder;
    if (row.hasIni)
        fs.AddFile(m.IniFile(), row.ini, row.iniHidden ? attr::kHidden : attr::kArchive);
    if (row.noCustomFolder) fs.RemoveFolder(program + "\\Custom");
    for (const auto& [name, text] : row.lists) fs.AddFile(program + "\\Custom\\" + name, text);
    for (const auto& f : row.faults) m.sim.faults.FailOn(f.call, f.number, f.nth);
    m.sim.process.anotherInstance = row.ends == 0;
}

// What the platform tells only when asked to change (armed faults, an entry
// in use) a preview cannot foretell.
bool Foreseeable(const scn::Row& row) {
    return row.faults.empty() && test::SmallEnough(row) &&
           std::none_of(row.things.begin(), row.things.end(), [](const scn::Thing& t) {
               return t.kind == "cache" && (t.name.find("inuse") != std::string::npos ||
                                            t.name.find("fetchfails") != std::string::npos);
           });
}

// All a wash may change: files, keys, values, cache, history and bin.
test::State ReadState(sim::SimPlatform& sim, const scn::Row& row) {
    test::State s;
    auto& fs = sim.files;
    std::function<void(const std::string&)> folder = [&](const std::string& path) {
        const auto listing = fs.Enumerate(path + "\\*");
        for (DirEntry e; listing->Next(e);) {
            if (e.name == "." || e.name == "..") continue;
            const std::string at = path + "\\" + e.name;
            s[test::Id("file", 0, at)] =
                std::to_string(e.attributes & 0x417) + "|" + fs.Content(at);
            // A link's content is its target's, read where the target lies.
            if ((e.attributes & 0x410) == attr::kDirectory) folder(at);
        }
    };
    std::set<char> drives = {'C'};  // the row's, those with a medium
    for (const auto& t : row.things)
        if (t.path.size() > 1 && t.path[1] == ':') drives.insert(char(std::toupper(t.path[0])));
    for (const auto& d : row.drives)
        d.notReady ? (void)drives.erase(d.letter) : (void)drives.insert(d.letter);
    for (const char drive : drives) folder(std::string(1, drive) + ":");
    std::function<void(HKey, const std::string&)> key = [&](HKey root, const std::string& path) {
        if (!path.empty()) s[test::Id("key", root, path)];
        for (const auto& v : sim.registry.ValueNames(root, path))
            s[test::Id("value", root, path, v)];
        for (const auto& k : sim.registry.SubKeyNames(root, path))
            key(root, path.empty() ? k : path + "\\" + k);
    };
    for (const HKey root :
         {hkey::kClassesRoot, hkey::kCurrentUser, hkey::kLocalMachine, hkey::kUsers})
        key(root, "");
    for (const auto& entry : sim.urlCache.entries) s[test::Id("cache", 0, entry.first)];
    for (const auto& entry : sim.urlHistory.entries) s[test::Id("history", 0, entry.url)];
    if (sim.shell.recycled) s[test::Id("recycled", 0, "")] = std::to_string(sim.shell.recycled);
    return s;
}

class SimScenario : public ::testing::TestWithParam<scn::Row> {};

TEST_P(SimScenario, Run) {
    const scn::Row& row = GetParam();
    test::SimMachine m;
    Stage(row, m);
    // The preview of the same machine first: it changes nothing, and its
    // changes, made, are the wash's.
    const bool foretold = row.ends != 0 && Foreseeable(row);
    const test::State before = ReadState(m.sim, row);
    std::stringstream json;  // read as the Wine runner reads the real program's
    if (foretold) {
        preview::WriteJsonReport(preview::RunPreview(m.sim.platform()), json);
        EXPECT_EQ(test::Diff(before, ReadState(m.sim, row)), "")
            << "the preview changed the machine";
    }
    Main(m.sim.platform());
    const test::State now = ReadState(m.sim, row);
    if (foretold) {
        const test::Report report = test::ReadReport(json);
        EXPECT_EQ(test::Disagreement(before, report.changes, now), "")
            << "the preview foretold other changes";
        EXPECT_EQ(report.boxes, row.boxes);
        EXPECT_EQ(report.step, row.ends);
        EXPECT_EQ(report.end, row.ends == 12 ? "complete" : "ended");
    }

    for (const auto& t : row.things)
        EXPECT_TRUE(test::CameOut(t, now, "")) << row.file << ":" << t.line;
    std::vector<std::string> boxes;
    for (const auto& b : m.sim.ui.boxes) boxes.push_back(b.text);
    EXPECT_EQ(boxes, row.boxes);
    EXPECT_EQ(m.sim.registry.OpenHandles(), 0u);
    ASSERT_EQ(m.sim.ui.windows.size(), row.ends == 0 ? 0u : foretold ? 2u : 1u);
    if (row.ends == 0) return;
    EXPECT_FLOAT_EQ(m.sim.ui.windows.back()->progress, 9.0f * (row.ends - 1)) << "steps made";
    EXPECT_EQ(m.sim.journal.back(), "unload");
}

INSTANTIATE_TEST_SUITE_P(Table, SimScenario,
                         ::testing::ValuesIn(scn::ParseFolder(
                             VW_SCENARIOS, sim::SimPlatform().process.programFolder, "sim")),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vw
