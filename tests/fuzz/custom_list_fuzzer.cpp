// The custom-list washer over any list, on a simulated machine with canaries
// beside its targets: a list may remove only what its records name. Every
// input runs once plain and once with AddBleach.
#include <algorithm>
#include <sstream>
#include <vector>

#include "fuzz.h"
#include "platform/field_reader.h"
#include "registry/reg32.h"
#include "support/sim_run.h"
#include "text/name_case.h"
#include "text/utf8.h"

namespace vw::fuzz {
namespace {

using Names = std::vector<std::string>;
struct Record {
    std::string type, path, name;
};

// Every entry of the machine: kind, path and what more it needs.
std::vector<Names> Machine() {
    std::vector<Names> entries;
    std::istringstream text(
#include "custom_list_machine.txt"
    );
    for (std::string line; std::getline(text, line);) {
        entries.emplace_back();
        for (std::size_t at = 0, bar = 0; bar != std::string::npos; at = bar + 1) {
            bar = line.find('|', at);
            entries.back().push_back(line.substr(at, bar - at));
        }
    }
    return entries;
}

// The components of a path as the platform resolves them, without regard to
// case. Generous on purpose ("." and "..", trailing dots and blanks): a
// canary counts as named whenever any reading of the path names it.
Names Components(const std::string& path) {
    Names names;
    for (std::size_t start = 0, end = 0; end != path.size(); start = end + 1) {
        end = std::min(path.find('\\', start), path.size());
        const std::string name = UpcaseName(path.substr(start, end - start));
        const auto kept = name.find_last_not_of(". ");
        if (name == ".." && !names.empty()) names.pop_back();
        if (name == "." || name == ".." || name.empty()) continue;
        names.push_back(name.substr(0, kept == std::string::npos ? kept : kept + 1));
    }
    return names;
}

// Whether a record names the canary: "K" its key or one above (never a root
// alone), "V" its value "v" or its key, "F" a file in its folder (files are
// listed in the record's folder only, never below it).
bool Named(const std::vector<Record>& records, const std::string& kind, const std::string& canary) {
    const Names whole = Components(canary),
                folder = Components(canary.substr(0, canary.rfind('\\')));
    for (const Record& r : records) {
        const Names path = Components(r.path);
        const bool key = r.type == "K" && path.size() > 1 && path.size() <= whole.size() &&
                         std::equal(path.begin(), path.end(), whole.begin());
        const bool value = r.type == "V" && path == whole && Components(r.name) == Names{"V"};
        const bool file = r.type == "F" && r.path.rfind('\\') != std::string::npos &&
                          Components(r.path.substr(0, r.path.rfind('\\'))) == folder;
        if (kind == "F" ? file : key || (kind == "V" && value)) return true;
    }
    return false;
}

void Wash(const std::string& list, const std::vector<Record>& records, bool bleach) {
    test::SimMachine m;
    if (bleach) m.UseIni("[Wash Options]\r\nAddBleach=1\r\n");
    auto& fs = m.sim.files;
    auto& reg = m.sim.registry;
    fs.AddFile(m.sim.process.programFolder + "\\Custom\\fuzz.lst", list);
    static const std::vector<Names> machine = Machine();
    std::string below;
    // The root of a key's path, and the path below it in `below`.
    const auto root = [&](const Names& e) { return std::stoll(ParseRootKey(e[1], below)); };
    for (const Names& e : machine) {
        const HKey key = e[0].find("-key") == std::string::npos ? 0 : root(e);
        if (e[0] == "canary-file") fs.AddFile(e[1], "canary");
        if (e[0] == "target-file") fs.AddFile(e[1], "target", std::stoul(e[2]));
        if (e[0] == "link") fs.AddLink(e[1], e[2]);
        if (key) reg.SetString(key, below, "v", e[0]);
        if (e[0] == "denied-key") reg.DenyAll(key, below);
    }
    try {
        frmWash(m.sim.platform()).WashCustomItems();
    } catch (const RunError&) {
        // Ends the run at this step, as a bad record should.
    }
    Require(reg.OpenHandles() == 0, "every key opened is closed");
    for (const Names& e : machine) {
        if (e[0] == "canary-file")
            Require(fs.Content(e[1]) == "canary" || Named(records, "F", e[1]), "lost: " + e[1]);
        if (e[0] != "canary-key") continue;
        const HKey key = root(e);
        Require(reg.KeyExists(key, below) || Named(records, "K", e[1]), "lost: " + e[1]);
        Require(reg.ValueExists(key, below, "v") || Named(records, "V", e[1]),
                "lost value: " + e[1]);
    }
}

}  // namespace

void Check(const std::string& list) {
    // The list as the washer reads it: UTF-8 after its mark, else Latin-1,
    // the simulated machine's ANSI code page.
    FieldReader reader(HasUtf8Bom(list) ? list.substr(3) : Latin1ToUtf8(list));
    std::vector<Record> records;
    try {
        while (!reader.AtEnd()) records.push_back({reader.Next(), reader.Next(), reader.Next()});
    } catch (const RunError&) {
        // A cut record ends the list.
    }
    Wash(list, records, false);
    Wash(list, records, true);
}

}  // namespace vw::fuzz
