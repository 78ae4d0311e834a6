// The overlay, after any run of the wash's kinds of change, answers every
// read as a machine does after the same changes made for real, and the
// machine under it stays as it was.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <set>
#include <sstream>

#include "platform/contract/file_cases.h"
#include "platform/sim/sim_platform.h"
#include "preview/preview_platform.h"
#include "registry/reg32.h"

namespace vw {
namespace {

const HKey kCu = hkey::kCurrentUser;

void Seed(sim::SimPlatform& s) {
    auto& f = s.files;
    f.AddFile("C:\\D\\a.tmp", "aaa");
    f.AddFile("C:\\D\\b.tmp", "bb", attr::kReadOnly);
    f.AddFile("C:\\D\\sub\\c.tmp", "c");
    f.AddFile("C:\\D\\sub\\deep\\d.tmp", "dddd", attr::kHidden);
    f.AddFile("C:\\D\\held.tmp", "h");
    f.HoldOpen("C:\\D\\held.tmp");
    f.AddFolder("C:\\D\\ro", attr::kDirectory | attr::kReadOnly);
    f.AddFile("C:\\T\\t.tmp", "t");
    f.AddLink("C:\\D\\link", "C:\\T");
    f.AddLink("C:\\D\\flink", "C:\\T\\t.tmp");
    f.AddDrive('N', DriveKind::kCdRom, false);
    s.shell.recycled = 2;
    for (const char* v : {"MRU1", "Keep", "mru2"}) s.registry.SetString(kCu, "S\\A", v, "x");
    for (const char* k : {"S\\T\\b\\c", "S\\T\\e", "S\\Z"}) s.registry.AddKey(kCu, k);
    s.registry.SetString(kCu, "S\\T", "v", "x");
    s.registry.SetString(kCu, "S\\No\\In", "v", "x");
    s.registry.DenyAll(kCu, "S\\No");
}

// Present, missing and other spellings of the seed's names; no path goes
// through a link: the overlay knows an entry by the path it was given.
std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), {}};
}
const auto kPaths = Words(
    R"(C:\D\a.tmp c:\d\\B.TMP C:\D\sub C:\D\sub\c.tmp C:\D\sub\deep C:\D\sub\deep\d.tmp
       C:\D\held.tmp C:\D\ro C:\D\link C:\D\new C:\D\new\n.tmp C:\ C:\D\ C:\X\y
       C:\new C:\new\n.tmp N:\x C:\D\new\)");
const auto kKeys = Words(R"(S\A S\T S\T\b s\t\B\c S\T\e S\Z S\New\Deep S\No S\No\In S)");

// One change of a kind the wash makes; its error number or status.
long Change(Platform& p, unsigned op, const std::string& path, const std::string& key) {
    FileSystem& f = p.files;
    RegKey& cu = p.registry.Root(kCu);
    long status = 0;
    const long raised = contract::ErrorOf([&] {
        if (op == 0) f.RemoveFile(path);
        if (op == 1) f.SetAttributes(path, attr::kNormal);
        if (op == 2) f.CreateFolder(path);
        if (op == 3) f.RemoveFolder(path);
        if (op == 4) status = f.OpenBinary(path) ? 0 : -1;
        if (op == 5) status = DeleteRegKeyTree(p, kCu, key);
        if (op == 6) DeleteRegValuesByPrefix(p, kCu, key, "mru");
        if (op == 7) status = cu.CreateKey(key).status;
        if (op == 8) status = cu.DeleteKey(key);
        if (op == 10) status = p.shell.EmptyRecycleBin("", 7);  // the wash empties every drive's
        if (op == 9)
            if (const RegOpen open = cu.OpenKey(key, 0); open.key)
                status = open.key->DeleteValue("v");
    });
    return raised ? raised : status;
}

// Every answer a read gives: listings with attributes, probes, and per key
// its counts, names by index to the first refusal, and values.
std::string View(Platform& p) {
    std::set<std::string> entries;  // in any order, as file systems list them
    const std::function<void(const std::string&)> folder = [&](const std::string& path) {
        const auto listing = p.files.Enumerate(path + "\\*");
        for (DirEntry e; listing->Next(e);) {
            if (e.name == "." || e.name == "..") continue;
            const EntryProbe probe = p.files.ProbeEntry(path + "\\" + e.name);
            entries.insert(path + "\\" + e.name + " " + std::to_string(e.attributes) + " " +
                           std::to_string(probe.error) + " " + std::to_string(probe.size) + "\n");
            if ((e.attributes & 0x410) == attr::kDirectory) folder(path + "\\" + e.name);
        }
    };
    folder("C:");
    std::string out;
    for (const std::string& e : entries) out += e;
    std::set<std::string> all;  // a pattern that ends in its separator lists all
    const auto listing = p.files.Enumerate("C:\\D\\");
    for (DirEntry e; listing->Next(e);) all.insert(e.name);
    for (const std::string& name : all) out += name + " ";
    for (const std::string& path : kPaths)
        out += path + " probe " + std::to_string(p.files.ProbeEntry(path).error) + "\n";
    out += std::to_string(p.registry.Root(0).OpenKey("S", 0).status) + " (no root)\n";
    out += "bin " + std::to_string(p.shell.QueryRecycleBin("").items) + "\n";
    for (const std::string& path : kKeys) {
        const RegOpen open = p.registry.Root(kCu).OpenKey(path, 0);
        out += path + " " + std::to_string(open.status) + " " +
               std::to_string(p.registry.Root(kCu).ProbeDeleteKey(path));
        if (!open.key) continue;
        const RegInfo info = open.key->QueryInfo();
        out += " " + std::to_string(info.status) + " " + std::to_string(info.info.SubKeyCount) +
               " " + std::to_string(info.info.ValueCount);
        for (const bool values : {false, true}) {
            RegName n;
            for (std::uint32_t i = 0;
                 (n = values ? open.key->ValueName(i) : open.key->SubKeyName(i)).status ==
                 regstatus::kSuccess;
                 ++i) {
                const RegRead r = open.key->QueryValue(n.name);
                out += " " + n.name + (values ? "=" + std::to_string(r.status) + r.data : "");
            }
            out += " end " + std::to_string(n.status) + "\n";
        }
    }
    return out;
}

TEST(OverlayTest, ReadsAsTheMachineChangedForReal) {
    std::uint32_t seed = 7;
    const auto next = [&](std::size_t n) {
        return ((seed = seed * 1664525u + 1013904223u) >> 8) % n;
    };
    for (int run = 0; run < 40; ++run) {
        sim::SimPlatform real, under;
        Seed(real), Seed(under);
        preview::ChangeLog log;
        preview::PreviewPlatform overlay(under.platform(), log);
        const std::string untouched = View(under.platform());
        for (int step = 0; step < 12; ++step) {
            // Each run makes a key first, for later steps to delete.
            const unsigned op = step == 0 ? 7 : next(11);
            const std::string path = kPaths[next(kPaths.size())],
                              key = step == 0 ? "S\\New\\Deep" : kKeys[next(kKeys.size())];
            const std::size_t logged = log.Changes().size();
            const std::string was = View(real.platform());
            const long answer = Change(real.platform(), op, path, key);
            const std::string now = View(real.platform()),
                              at = "run " + std::to_string(run) + " step " + std::to_string(step);
            ASSERT_EQ(Change(overlay.Get(), op, path, key), answer) << at;
            ASSERT_EQ(View(overlay.Get()), now) << at << ": " << op << " " << path << " " << key;
            // Recorded when it changed the machine, or when a file call went
            // through (a file's bytes and equal attributes are not read).
            EXPECT_EQ(log.Changes().size() > logged, now != was || (answer == 0 && op < 5)) << at;
        }
        EXPECT_EQ(View(under.platform()), untouched);
        EXPECT_EQ(under.registry.OpenHandles(), 0u) << "a key made here holds a real one";
    }
}

}  // namespace
}  // namespace vw
