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

// The bits of the names found in `text`, e.g. "rh" or "normal+cookie".
template <std::size_t N>
std::uint32_t Bits(const std::string& text,
                   const std::pair<const char*, std::uint32_t> (&names)[N]) {
    std::uint32_t bits = 0;
    for (const auto& [name, bit] : names)
        if (text.find(name) != std::string::npos) bits |= bit;
    return bits;
}
const std::pair<const char*, std::uint32_t> kAttributes[] = {
    {"r", attr::kReadOnly}, {"h", attr::kHidden}, {"s", attr::kSystem}, {"a", attr::kArchive}};
const std::pair<const char*, std::uint32_t> kCacheKinds[] = {{"normal", cacheentry::kNormal},
                                                             {"cookie", cacheentry::kCookie},
                                                             {"history", cacheentry::kUrlHistory},
                                                             {"sticky", cacheentry::kSticky},
                                                             {"sparse", cacheentry::kSparse}};

void Stage(const scn::Row& row, test::SimMachine& m) {
    auto& fs = m.sim.files;
    auto& reg = m.sim.registry;
    for (const auto& d : row.drives) {
        const char* kinds[] = {"removable", "fixed", "remote", "cdrom", "ramdisk"};
        const auto kind = std::find(std::begin(kinds), std::end(kinds), d.kind) - kinds + 1;
        fs.AddDrive(d.letter, static_cast<DriveKind>(kind), !d.notReady);
        auto& list = m.sim.ui.drives;  // the drive list the window shows
        const char letter = static_cast<char>(std::tolower(d.letter));
        if (std::none_of(list.begin(), list.end(), [&](auto& e) { return e[0] == letter; }))
            list.push_back(std::string(1, letter) + ":");
        std::sort(list.begin(), list.end());
    }
    if (!row.temp.empty()) fs.tempPath = row.temp + "\\";
    for (const auto& f : row.files) {
        const std::uint32_t a = Bits(f.attr, kAttributes);
        if (f.folder) fs.AddFolder(f.path, attr::kDirectory | a);
        if (!f.folder) fs.AddFile(f.path, f.text, f.attr.empty() ? attr::kArchive : a);
    }
    for (const auto& l : row.links) fs.AddLink(l.path, l.target);
    for (const auto& f : row.files)
        if (f.locked) fs.HoldOpen(f.path);
    for (const auto& k : row.keys) reg.AddKey(RootOf(k.root), k.path);
    for (const auto& v : row.values) {
        const std::string dword(reinterpret_cast<const char*>(&v.dword), 4);
        const bool sz = v.type == "sz", binary = v.type == "binary";
        reg.SetValue(RootOf(v.root), v.path, v.name,
                     sz       ? regtype::kSz
                     : binary ? regtype::kBinary
                              : regtype::kDword,
                     sz       ? v.data + '\0'
                     : binary ? v.data
                              : dword);
    }
    for (const auto& k : row.keys)
        if (k.deny) reg.DenyAll(RootOf(k.root), k.path);
    for (const auto& c : row.cache) {
        auto& entry = m.sim.urlCache.entries[c.url];
        entry = {Bits(c.kind, kCacheKinds), c.kind.find("inuse") != std::string::npos,
                 c.kind.find("fetchfails") != std::string::npos};
    }
    for (const auto& h : row.history) m.sim.urlHistory.entries.push_back({h.url, "title"});
    const std::string program = m.sim.process.programFolder;
    if (row.hasIni)
        fs.AddFile(m.IniFile(), row.ini, row.iniHidden ? attr::kHidden : attr::kArchive);
    if (row.noCustomFolder) fs.RemoveFolder(program + "\\Custom");
    for (const auto& [name, text] : row.lists) fs.AddFile(program + "\\Custom\\" + name, text);
    for (const auto& f : row.faults) m.sim.faults.FailOn(f.call, f.number, f.nth);
    m.sim.process.anotherInstance = row.ends == scn::Ends::kRefused;
}

class SimScenario : public ::testing::TestWithParam<scn::Row> {
  protected:
    // `same`: its content as planted.
    void Expect(bool there, Outcome o, bool same, int line) {
        const std::string at = GetParam().file + ":" + std::to_string(line) + ": ";
        if (o == Outcome::kSet) return;
        EXPECT_EQ(there, o != Outcome::kGone) << at << "still there or lost";
        EXPECT_TRUE(!there || o == Outcome::kGone || same == (o == Outcome::kStays))
            << at << "content";
    }
    test::SimMachine m;
};

TEST_P(SimScenario, Run) {
    const scn::Row& row = GetParam();
    Stage(row, m);
    Main(m.sim.platform());

    auto& fs = m.sim.files;
    auto& reg = m.sim.registry;
    for (const auto& f : row.files)
        Expect(fs.Exists(f.path), f.outcome, f.folder || fs.Content(f.path) == f.text, f.line);
    for (const auto& l : row.links) Expect(fs.Exists(l.path), l.outcome, true, l.line);
    for (const auto& k : row.keys)
        Expect(reg.KeyExists(RootOf(k.root), k.path), k.outcome, true, k.line);
    for (const auto& v : row.values)
        Expect(reg.ValueExists(RootOf(v.root), v.path, v.name), v.outcome, true, v.line);
    for (const auto& c : row.cache)
        Expect(m.sim.urlCache.entries.count(c.url) == 1, c.outcome, true, c.line);
    for (const auto& h : row.history) {
        const auto& e = m.sim.urlHistory.entries;
        Expect(std::any_of(e.begin(), e.end(), [&](auto& x) { return x.url == h.url; }), h.outcome,
               true, h.line);
    }
    std::vector<std::string> boxes;
    for (const auto& b : m.sim.ui.boxes) boxes.push_back(b.text);
    EXPECT_EQ(boxes, row.boxes);
    EXPECT_EQ(reg.OpenHandles(), 0u);
    if (row.ends == scn::Ends::kRefused) {
        EXPECT_TRUE(m.sim.ui.windows.empty());
        return;
    }
    ASSERT_EQ(m.sim.ui.windows.size(), 1u);
    const int steps = row.ends == scn::Ends::kComplete ? 11 : row.endStep - 1;
    EXPECT_FLOAT_EQ(m.sim.ui.windows[0]->progress, 9.0f * steps) << "steps made";
    EXPECT_EQ(m.sim.journal.back(), "unload");
}

INSTANTIATE_TEST_SUITE_P(Table, SimScenario, ::testing::ValuesIn(SimRows()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vw
