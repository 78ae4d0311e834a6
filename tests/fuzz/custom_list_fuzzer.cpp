// The custom-list washer over any list, on a simulated machine with canaries
// beside its targets: a list may remove only what its records name. Every
// input runs once plain and once with AddBleach.
#include <algorithm>
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

const char* const kKeyCanaries[] = {"HKEY_CURRENT_USER\\Canary",
                                    "HKEY_CURRENT_USER\\Software\\Canary",
                                    "HKEY_CURRENT_USER\\Software\\OldKeep",
                                    "HKEY_CURRENT_USER\\Software\\Keep\\Sub",
                                    "HKEY_LOCAL_MACHINE\\Software\\Canary",
                                    "HKEY_USERS\\.DEFAULT\\Canary",
                                    "HKEY_CLASSES_ROOT\\Canary",
                                    "HKEY_CURRENT_USER\\Software\\Ключ\\Canary"};
const char* const kFileCanaries[] = {"C:\\canary.txt", "C:\\WINDOWS\\canary.txt",
                                     "C:\\WINDOWS\\TEMP\\canary.txt", "C:\\Data\\Keep\\canary.log",
                                     "C:\\DataKeep\\canary.log",
                                     "C:\\Program Files\\Vantrix\\canary.txt",
                                     "C:\\Users\\sim\\canary.txt", "C:\\Данные\\Keep\\canary.txt",
                                     // Reached only through the link C:\Data\link.log.
                                     "C:\\Elsewhere\\canary.txt"};

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
    for (const char* file : kFileCanaries) fs.AddFile(file, "canary");
    fs.AddFile("C:\\Data\\a.log", "target");
    fs.AddFile("C:\\Данные\\ф.log", "target");
    fs.AddLink("C:\\Data\\link.log", "C:\\Elsewhere\\canary.txt");
    fs.AddFile("C:\\Data\\b.tmp", "target", attr::kHidden | attr::kReadOnly);
    fs.AddFile("C:\\Data\\c.sys", "target", attr::kSystem);
    std::string below;
    for (const char* key : kKeyCanaries)
        reg.SetString(std::stoll(ParseRootKey(key, below)), below, "v", "canary");
    reg.SetString(hkey::kCurrentUser, "Software\\Old\\Sub", "v", "target");
    reg.SetString(hkey::kCurrentUser, "Software\\Old", "v", "target");
    reg.AddKey(hkey::kCurrentUser, "Software\\Old\\Denied");
    reg.DenyAll(hkey::kCurrentUser, "Software\\Old\\Denied");
    try {
        frmWash(m.sim.platform()).WashCustomItems();
    } catch (const RunError&) {
        // Ends the run at this step, as a bad record should.
    }
    Require(reg.OpenHandles() == 0, "every key opened is closed");
    for (const char* file : kFileCanaries) {
        Require(fs.Content(file) == "canary" || Named(records, "F", file),
                std::string("lost: ") + file);
    }
    for (const char* key : kKeyCanaries) {
        const HKey root = std::stoll(ParseRootKey(key, below));
        Require(reg.KeyExists(root, below) || Named(records, "K", key),
                std::string("lost: ") + key);
        Require(reg.ValueExists(root, below, "v") || Named(records, "V", key),
                std::string("lost value: ") + key);
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
