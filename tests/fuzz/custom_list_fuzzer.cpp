// The custom-list washer over any list, on a simulated machine with canaries
// beside its targets: a list may remove only what its records name. Every
// input runs once plain and once with AddBleach.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "platform/field_reader.h"
#include "support/sim_run.h"
#include "text/name_case.h"
#include "text/utf8.h"
#include "wash/frm_wash.h"

using vw::fuzz::Require;

namespace {

using Names = std::vector<std::string>;

// The components of a path as the platform resolves them, without regard to
// case. Generous on purpose ("." and "..", trailing dots and blanks): a
// canary counts as named whenever any reading of the path names it.
Names Components(const std::string& path) {
    Names names;
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        std::string name = path.substr(start, end - start);
        name = vw::UpcaseName(name);
        const auto kept = name.find_last_not_of(". ");
        if (name == "..") {
            if (!names.empty()) names.pop_back();
        } else if (name != "." && !name.empty()) {
            names.push_back(kept == std::string::npos ? name : name.substr(0, kept + 1));
        }
        start = end + 1;
    }
    return names;
}

bool StartsWith(const Names& whole, const Names& start) {
    return start.size() <= whole.size() && std::equal(start.begin(), start.end(), whole.begin());
}

struct Record {
    std::string type, path, name;
};

std::vector<Record> Records(const std::string& list) {
    vw::FieldReader reader(list);
    std::vector<Record> records;
    try {
        while (!reader.AtEnd()) {
            Record r;
            r.type = reader.Next();
            r.path = reader.Next();
            r.name = reader.Next();
            records.push_back(r);
        }
    } catch (const vw::RunError&) {
        // A cut record ends the list.
    }
    return records;
}

// The root a "K" or "V" path names, and the components below it.
bool SplitKeyPath(const std::string& path, vw::HKey& root, Names& below) {
    static const struct {
        std::string prefix;
        vw::HKey root;
    } kRoots[] = {
        {"HKEY_CLASSES_ROOT\\", vw::hkey::kClassesRoot},
        {"HKEY_CURRENT_USER\\", vw::hkey::kCurrentUser},
        {"HKEY_LOCAL_MACHINE\\", vw::hkey::kLocalMachine},
        {"HKEY_USERS\\", vw::hkey::kUsers},
        {"HKEY_PERFORMANCE_DATA\\", vw::hkey::kPerformanceData},
    };
    for (const auto& r : kRoots) {
        if (path.compare(0, r.prefix.size(), r.prefix) == 0) {
            root = r.root;
            below = Components(path.substr(r.prefix.size()));
            return true;
        }
    }
    return false;
}

struct KeyCanary {
    vw::HKey root;
    const char* path;
};
const KeyCanary kKeyCanaries[] = {
    {vw::hkey::kCurrentUser, "Canary"},
    {vw::hkey::kCurrentUser, "Software\\Canary"},
    {vw::hkey::kCurrentUser, "Software\\OldKeep"},
    {vw::hkey::kCurrentUser, "Software\\Keep\\Sub"},
    {vw::hkey::kLocalMachine, "Software\\Canary"},
    {vw::hkey::kUsers, ".DEFAULT\\Canary"},
    {vw::hkey::kClassesRoot, "Canary"},
    {vw::hkey::kCurrentUser, "Software\\Ключ\\Canary"},
};
const char* const kFileCanaries[] = {
    "C:\\canary.txt",
    "C:\\WINDOWS\\canary.txt",
    "C:\\WINDOWS\\TEMP\\canary.txt",
    "C:\\Data\\Keep\\canary.log",
    "C:\\DataKeep\\canary.log",
    "C:\\Program Files\\Vantrix\\canary.txt",
    "C:\\Users\\sim\\canary.txt",
    "C:\\Данные\\Keep\\canary.txt",
    // Reached only through the link C:\Data\link.log.
    "C:\\Elsewhere\\canary.txt",
};
constexpr const char* kCanaryValue = "v";
constexpr const char* kCanaryText = "canary";

bool KeyNamed(const std::vector<Record>& records, vw::HKey root, const Names& key) {
    for (const auto& r : records) {
        vw::HKey named = 0;
        Names below;
        // A record naming a root itself deletes nothing.
        if (r.type == "K" && SplitKeyPath(r.path, named, below) && named == root &&
            !below.empty() && StartsWith(key, below)) {
            return true;
        }
    }
    return false;
}

bool ValueNamed(const std::vector<Record>& records, vw::HKey root, const Names& key) {
    for (const auto& r : records) {
        vw::HKey named = 0;
        Names below;
        if (r.type == "V" && SplitKeyPath(r.path, named, below) && named == root && below == key &&
            Components(r.name) == Names{"V"}) {
            return true;
        }
    }
    return false;
}

// Files are listed in the record's folder only, never below it.
bool FileNamed(const std::vector<Record>& records, const std::string& file) {
    const Names folder = Components(file.substr(0, file.rfind('\\')));
    for (const auto& r : records) {
        const auto slash = r.path.rfind('\\');
        if (r.type == "F" && slash != std::string::npos &&
            Components(r.path.substr(0, slash)) == folder) {
            return true;
        }
    }
    return false;
}

[[noreturn]] void Lost(const char* what, const std::string& canary) {
    std::fprintf(stderr, "%s lost although no record names it: %s\n", what, canary.c_str());
    std::abort();
}

void Wash(const std::string& list, const std::vector<Record>& records, bool bleach) {
    vw::test::SimMachine m;
    if (bleach) m.UseIni("[Wash Options]\r\nAddBleach=1\r\n");
    auto& fs = m.sim.files;
    auto& reg = m.sim.registry;
    fs.AddFile(m.sim.process.programFolder + "\\Custom\\fuzz.lst", list);
    for (const char* file : kFileCanaries) fs.AddFile(file, kCanaryText);
    fs.AddFile("C:\\Data\\a.log", "target");
    fs.AddFile("C:\\Данные\\ф.log", "target");
    fs.AddLink("C:\\Data\\link.log", "C:\\Elsewhere\\canary.txt");
    fs.AddFile("C:\\Data\\b.tmp", "target", vw::attr::kHidden | vw::attr::kReadOnly);
    fs.AddFile("C:\\Data\\c.sys", "target", vw::attr::kSystem);
    for (const auto& k : kKeyCanaries) reg.SetString(k.root, k.path, kCanaryValue, kCanaryText);
    reg.SetString(vw::hkey::kCurrentUser, "Software\\Old\\Sub", "v", "target");
    reg.SetString(vw::hkey::kCurrentUser, "Software\\Old", "v", "target");
    reg.AddKey(vw::hkey::kCurrentUser, "Software\\Old\\Denied");
    reg.DenyAll(vw::hkey::kCurrentUser, "Software\\Old\\Denied");

    {
        vw::frmWash form(m.sim.platform());
        try {
            form.WashCustomItems();
        } catch (const vw::RunError&) {
            // Ends the run at this step, as a bad record should.
        }
    }

    Require(reg.OpenHandles() == 0, "every key opened is closed");
    for (const char* file : kFileCanaries) {
        if ((!fs.IsFile(file) || fs.Content(file) != kCanaryText) && !FileNamed(records, file)) {
            Lost("file", file);
        }
    }
    for (const auto& k : kKeyCanaries) {
        const Names key = Components(k.path);
        if (KeyNamed(records, k.root, key)) continue;
        if (!reg.KeyExists(k.root, k.path)) Lost("key", k.path);
        if (!reg.ValueExists(k.root, k.path, kCanaryValue) && !ValueNamed(records, k.root, key)) {
            Lost("value", k.path);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string list(reinterpret_cast<const char*>(data), size);
    // The list as the washer reads it: UTF-8 after its mark, else Latin-1,
    // the simulated machine's ANSI code page.
    const std::string text = vw::HasUtf8Bom(list) ? list.substr(3) : vw::Latin1ToUtf8(list);
    const std::vector<Record> records = Records(text);
    Wash(list, records, false);
    Wash(list, records, true);
    return 0;
}
