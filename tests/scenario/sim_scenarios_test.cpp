// Every row of the wash table, run by Main on a fresh simulated machine.

#include <gtest/gtest.h>

#include <algorithm>

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

std::vector<scn::Row> SimRows() {
    auto rows = scn::ParseFolder(VW_SCENARIOS, sim::SimPlatform().process.programFolder);
    rows.erase(std::remove_if(rows.begin(), rows.end(), [](auto& r) { return r.only == "wine"; }),
               rows.end());
    return rows;
}

HKey RootOf(const std::string& root) {
    return root == "HKCU"   ? hkey::kCurrentUser
           : root == "HKLM" ? hkey::kLocalMachine
           : root == "HKU"  ? hkey::kUsers
                            : hkey::kClassesRoot;
}

std::uint32_t Attributes(const std::string& letters, std::uint32_t none) {
    std::uint32_t a = 0;
    for (char c : letters)
        a |= c == 'r'   ? attr::kReadOnly
             : c == 'h' ? attr::kHidden
             : c == 's' ? attr::kSystem
                        : attr::kArchive;
    return letters.empty() ? none : a;
}

class SimScenario : public ::testing::TestWithParam<scn::Row> {
  protected:
    void Stage(const scn::Row& row) {
        auto& fs = m.sim.files;
        const std::string program = m.sim.process.programFolder;
        for (const auto& d : row.drives) {
            const char* kinds[] = {"removable", "fixed", "remote", "cdrom", "ramdisk"};
            const auto kind = std::find(std::begin(kinds), std::end(kinds), d.kind) - kinds + 1;
            fs.AddDrive(d.letter, static_cast<DriveKind>(kind), !d.notReady);
            const std::string entry(1, static_cast<char>(std::tolower(d.letter)));
            auto& list = m.sim.ui.drives;
            if (std::none_of(list.begin(), list.end(), [&](auto& e) { return e[0] == entry[0]; }))
                list.push_back(entry + ":");
            std::sort(list.begin(), list.end());
        }
        if (!row.temp.empty()) fs.tempPath = row.temp + "\\";
        for (const auto& f : row.files) {
            if (f.folder) fs.AddFolder(f.path, attr::kDirectory | Attributes(f.attr, 0));
            if (!f.folder) fs.AddFile(f.path, f.text, Attributes(f.attr, attr::kArchive));
        }
        for (const auto& l : row.links) fs.AddLink(l.path, l.target);
        for (const auto& f : row.files)
            if (f.locked) fs.HoldOpen(f.path);
        auto& reg = m.sim.registry;
        for (const auto& k : row.keys) reg.AddKey(RootOf(k.root), k.path);
        for (const auto& v : row.values) {
            std::string data = v.data + '\0';
            if (v.type == "dword") data.assign(reinterpret_cast<const char*>(&v.dword), 4);
            if (v.type == "binary") data = v.data;
            const auto type = v.type == "sz"      ? regtype::kSz
                              : v.type == "dword" ? regtype::kDword
                                                  : regtype::kBinary;
            reg.SetValue(RootOf(v.root), v.path, v.name, type, data);
        }
        for (const auto& k : row.keys)
            if (k.deny) reg.DenyAll(RootOf(k.root), k.path);
        const std::pair<const char*, std::uint32_t> bits[] = {{"normal", cacheentry::kNormal},
                                                              {"cookie", cacheentry::kCookie},
                                                              {"history", cacheentry::kUrlHistory},
                                                              {"sticky", cacheentry::kSticky},
                                                              {"sparse", cacheentry::kSparse}};
        for (const auto& c : row.cache) {
            auto& entry = m.sim.urlCache.entries[c.url];
            entry.type = 0;
            for (const auto& [name, bit] : bits)
                if (c.kind.find(name) != std::string::npos) entry.type |= bit;
            entry.inUse = c.kind.find("inuse") != std::string::npos;
            entry.fetchFails = c.kind.find("fetchfails") != std::string::npos;
        }
        for (const auto& h : row.history) m.sim.urlHistory.entries.push_back({h.url, "title"});
        if (row.hasIni)
            fs.AddFile(m.IniFile(), row.ini, row.iniHidden ? attr::kHidden : attr::kArchive);
        if (row.noCustomFolder) fs.RemoveFolder(program + "\\Custom");
        for (const auto& [name, text] : row.lists) fs.AddFile(program + "\\Custom\\" + name, text);
        for (const auto& f : row.faults) m.sim.faults.FailOn(f.call, f.number, f.nth);
        m.sim.process.anotherInstance = row.ends == scn::Ends::kRefused;
    }

    // Where the line is, for the failure message.
    static std::string At(const scn::Row& row, int line) {
        return row.file + ":" + std::to_string(line) + ": ";
    }
    void Expect(bool there, Outcome o, bool same, const std::string& where) {
        if (o == Outcome::kSet) return;
        EXPECT_EQ(there, o != Outcome::kGone) << where << "still there or lost";
        if (there && o != Outcome::kGone) {
            EXPECT_EQ(same, o == Outcome::kStays) << where << "content";
        }
    }

    test::SimMachine m;
};

TEST_P(SimScenario, Run) {
    const scn::Row& row = GetParam();
    Stage(row);
    Main(m.sim.platform());

    auto& fs = m.sim.files;
    for (const auto& f : row.files)
        Expect(fs.Exists(f.path), f.outcome, f.folder || fs.Content(f.path) == f.text,
               At(row, f.line));
    for (const auto& l : row.links) Expect(fs.Exists(l.path), l.outcome, true, At(row, l.line));
    auto& reg = m.sim.registry;
    for (const auto& k : row.keys)
        Expect(reg.KeyExists(RootOf(k.root), k.path), k.outcome, true, At(row, k.line));
    for (const auto& v : row.values)
        Expect(reg.ValueExists(RootOf(v.root), v.path, v.name), v.outcome, true, At(row, v.line));
    for (const auto& c : row.cache)
        Expect(m.sim.urlCache.entries.count(c.url) == 1, c.outcome, true, At(row, c.line));
    for (const auto& h : row.history) {
        const auto& e = m.sim.urlHistory.entries;
        const bool there = std::any_of(e.begin(), e.end(), [&](auto& x) { return x.url == h.url; });
        Expect(there, h.outcome, true, At(row, h.line));
    }

    std::vector<std::string> boxes;
    for (const auto& b : m.sim.ui.boxes) boxes.push_back(b.text);
    EXPECT_EQ(boxes, row.boxes);
    if (row.ends == scn::Ends::kRefused) {
        EXPECT_TRUE(m.sim.ui.windows.empty());
        return;
    }
    ASSERT_EQ(m.sim.ui.windows.size(), 1u);
    const int steps = row.ends == scn::Ends::kComplete ? 11 : row.endStep - 1;
    EXPECT_FLOAT_EQ(m.sim.ui.windows[0]->progress, 9.0f * steps) << "steps made";
    EXPECT_EQ(m.sim.journal.back(), "unload");
    EXPECT_EQ(reg.OpenHandles(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Table, SimScenario, ::testing::ValuesIn(SimRows()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vw
