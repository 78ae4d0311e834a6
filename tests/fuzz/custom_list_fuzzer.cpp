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
const std::vector<Names>& Machine() {
    static std::vector<Names> entries;
    std::istringstream text(entries.empty() ?
#include "custom_list_machine.txt"
                                            : "");
    for (std::string line, field; std::getline(text, line);) {
        std::istringstream fields(line);
        for (entries.emplace_back(); std::getline(fields, field, '|');)
            entries.back().push_back(field);
    }
    return entries;
}

// The components of a path as the platform resolves them, without regard to
// case. Generous on purpose ("." and "..", trailing dots and blanks): a
// canary counts as named whenever any reading of the path names it.
Names Components(const std::string& path) {
    Names names;
    std::istringstream parts(path + "\\");
    for (std::string name; std::getline(parts, name, '\\');) {
        const auto kept = (name = UpcaseName(name)).find_last_not_of(". ");
        if (name == ".." && !names.empty()) names.pop_back();
        if (name != "." && name != ".." && !name.empty())
            names.push_back(name.substr(0, kept == std::string::npos ? kept : kept + 1));
    }
    return names;
}

// Whether a record names the canary: "K" its key or one above (never a root
// alone), "V" its value "v" or its key, "F" a file in its folder (files are
// listed in the record's folder only, never below it).
bool Named(const std::vector<Record>& records, const std::string& kind, const std::string& canary) {
    const auto folderOf = [](const std::string& p) {
        return Components(p.substr(0, p.rfind('\\')));
    };
    const Names whole = Components(canary), folder = folderOf(canary);
    return std::any_of(records.begin(), records.end(), [&](const Record& r) {
        const Names path = Components(r.path);
        if (kind == "F")
            return r.type == "F" && r.path.rfind('\\') != std::string::npos &&
                   folderOf(r.path) == folder;
        return (r.type == "K" && path.size() > 1 && path.size() <= whole.size() &&
                std::equal(path.begin(), path.end(), whole.begin())) ||
               (kind == "V" && r.type == "V" && path == whole && Components(r.name) == Names{"V"});
    });
}

void Wash(const std::string& list, const std::vector<Record>& records, bool bleach) {
    test::SimMachine m;
    if (bleach) m.UseIni("[Wash Options]\r\nAddBleach=1\r\n");
    auto& fs = m.sim.files;
    auto& reg = m.sim.registry;
    fs.AddFile(m.sim.process.programFolder + "\\Custom\\fuzz.lst", list);
    std::string below;
    // The root of a key's path, and the path below it in `below`.
    const auto root = [&](const Names& e) { return std::stoll(ParseRootKey(e[1], below)); };
    for (const Names& e : Machine()) {
        const HKey key = e[0].find("-key") == std::string::npos ? 0 : root(e);
        if (e[0] == "canary-file") fs.AddFile(e[1], "canary");
        if (e[0] == "target-file") fs.AddFile(e[1], "target", std::stoul(e[2]));
        if (e[0] == "link") fs.AddLink(e[1], e[2]);
        if (key) reg.SetString(key, below, "v", e[0]);
        if (e[0] == "denied-key") reg.DenyAll(key, below);
    }
    // A bad record ends the run at this step.
    ResumeNext([&] { frmWash(m.sim.platform()).WashCustomItems(); });
    Require(reg.OpenHandles() == 0, "every key opened is closed");
    for (const Names& e : Machine()) {
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
    // A cut record ends the list.
    ResumeNext([&] {
        while (!reader.AtEnd()) records.push_back({reader.Next(), reader.Next(), reader.Next()});
    });
    for (const bool bleach : {false, true}) Wash(list, records, bleach);
}

}  // namespace vw::fuzz
