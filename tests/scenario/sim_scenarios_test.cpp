// Every row of the wash table, run by Main on a fresh simulated machine.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "preview/machine_state.h"
#include "preview/preview_run.h"
#include "scenario/scenario.h"
#include "startup/main.h"
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
// Megabyte settings and lists only slow the suite down here: the preview's
// cost is the bench's to measure.
bool Foreseeable(const scn::Row& row) {
    std::size_t bytes = row.ini.size();
    for (const auto& list : row.lists) bytes += list.second.size();
    return row.faults.empty() && bytes < (1u << 20) &&
           std::none_of(row.things.begin(), row.things.end(), [](const scn::Thing& t) {
               return t.kind == "cache" && (t.name.find("inuse") != std::string::npos ||
                                            t.name.find("fetchfails") != std::string::npos);
           });
}

class SimScenario : public ::testing::TestWithParam<scn::Row> {};

TEST_P(SimScenario, Run) {
    const scn::Row& row = GetParam();
    test::SimMachine m;
    Stage(row, m);
    // The preview of the same machine first: it changes nothing, and its
    // changes, made, are the wash's.
    const bool foretold = row.ends != 0 && Foreseeable(row);
    const test::MachineState before = test::ReadState(m.sim);
    std::optional<preview::PreviewResult> preview;
    if (foretold) {
        preview = preview::RunPreview(m.sim.platform());
        EXPECT_TRUE(test::ReadState(m.sim) == before) << "the preview changed the machine";
    }
    Main(m.sim.platform());
    if (foretold) {
        EXPECT_TRUE(test::ReadState(m.sim) == test::Applied(before, preview->log.Changes()))
            << "the preview foretold other changes";
        std::vector<std::string> foretoldBoxes;
        for (const auto& b : preview->log.Boxes()) foretoldBoxes.push_back(b.text);
        EXPECT_EQ(foretoldBoxes, row.boxes);
        EXPECT_EQ(preview->ended ? preview->endStep : 12, row.ends);
    }

    auto& fs = m.sim.files;
    auto& reg = m.sim.registry;
    const auto& urls = m.sim.urlHistory.entries;
    for (const auto& t : row.things) {
        const bool there =
            t.kind == "key"     ? reg.KeyExists(t.root, t.path)
            : t.kind == "value" ? reg.ValueExists(t.root, t.path, t.name)
            : t.kind == "cache" ? m.sim.urlCache.entries.count(t.path) == 1
            : t.kind == "history"
                ? std::any_of(urls.begin(), urls.end(), [&](auto& x) { return x.url == t.path; })
            : t.kind == "recycled" ? m.sim.shell.recycled > 0
                                   : fs.Exists(t.path);
        EXPECT_TRUE(scn::Holds(t.outcome, there, t.kind != "file" || fs.Content(t.path) == t.text))
            << row.file << ":" << t.line;
    }
    std::vector<std::string> boxes;
    for (const auto& b : m.sim.ui.boxes) boxes.push_back(b.text);
    EXPECT_EQ(boxes, row.boxes);
    EXPECT_EQ(reg.OpenHandles(), 0u);
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
