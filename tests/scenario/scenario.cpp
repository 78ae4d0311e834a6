#include "scenario/scenario.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vw::scn {
namespace {

struct Reader {
    std::string file, program;
    std::vector<Row>& rows;
    int line = 0;
    long long index = -1;  // $(i) inside a repeat

    [[noreturn]] void Fail(const std::string& what) const {
        throw ParseError(file + ":" + std::to_string(line) + ": " + what);
    }
    void Need(bool ok, const std::string& what) const {
        if (!ok) Fail(what);
    }
    Row& row() { return rows.back(); }

    long long Number(const std::string& s, int base = 10) const {
        std::size_t used = 0;
        long long n = -1;
        try {
            n = std::stoll(s, &used, base);
        } catch (const std::exception&) {
        }
        Need(!s.empty() && used == s.size() && n >= 0, "not a number: " + s);
        return n;
    }

    // The inside of one $(...), its own expansions done.
    std::string Expand(const std::string& body) {
        std::istringstream in(body);
        std::string name, count, out;
        in >> name;
        if (name == "rep" || name == "random") {
            in >> count;
            const long long n = Number(count);
            std::string arg;
            std::getline(in >> std::ws, arg);
            // Random bytes: the top bytes of a 32-bit LCG, the same on every build.
            auto seed = static_cast<std::uint32_t>(name == "random" ? Number(arg) : 0);
            for (long long k = 0; k < n; ++k) {
                seed = seed * 1664525u + 1013904223u;
                out += name == "rep" ? arg : std::string(1, static_cast<char>(seed >> 24));
            }
            return out;
        }
        if (name.size() == 3 && name[0] == 'x' && body == name)
            return std::string(1, static_cast<char>(Number(name.substr(1), 16)));
        if (body == "crlf") return "\r\n";
        if (body == "program") return program;
        if (body == "temp" && !row().temp.empty()) return row().temp;
        if (body == "i" && index >= 0) return std::to_string(index);
        Fail("cannot expand $(" + body + ")");
    }

    // From the "$(" at `at`: its expansion, and `at` moved onto its ")".
    std::string Dollar(const std::string& text, std::size_t& at) {
        std::size_t end = at + 1;
        for (int depth = 0; end < text.size(); ++end) {
            depth += text[end] == '(' ? 1 : text[end] == ')' ? -1 : 0;
            if (depth == 0) break;
        }
        Need(end < text.size(), "unclosed $(");
        std::string inner;
        for (std::size_t k = at + 2; k < end; ++k)
            inner += text.compare(k, 2, "$(") == 0 ? Dollar(text, k) : std::string(1, text[k]);
        at = end;
        return Expand(inner);
    }

    // Blanks split, quotes group ("" is a quote); what an expansion gives is
    // taken as it is, whatever bytes it holds.
    std::vector<std::string> Split(const std::string& text) {
        std::vector<std::string> args;
        std::string arg;
        bool inArg = false, quoted = false;
        for (std::size_t k = 0; k < text.size(); ++k) {
            const char c = text[k];
            if (!quoted && (c == ' ' || c == '\t')) {
                if (inArg) args.push_back(arg);
                arg.clear();
                inArg = false;
                continue;
            }
            inArg = true;
            if (text.compare(k, 2, "$(") == 0) {
                arg += Dollar(text, k);
            } else if (c == '"' && quoted && k + 1 < text.size() && text[k + 1] == '"') {
                arg += text[++k];
            } else if (c == '"') {
                quoted = !quoted;
            } else {
                arg += c;
            }
        }
        Need(!quoted, "unclosed quote");
        if (inArg) args.push_back(arg);
        return args;
    }

    Outcome ToOutcome(const std::string& s) const {
        const char* names[] = {"gone", "stays", "set", "changed"};
        const auto at = std::find(std::begin(names), std::end(names), s) - std::begin(names);
        Need(at < 4, "not an outcome: " + s);
        return static_cast<Outcome>(at);
    }
    std::string Root(const std::string& s, std::string& path) const {
        const auto slash = s.find('\\');
        const std::string root = s.substr(0, slash);
        Need(root == "HKCU" || root == "HKLM" || root == "HKU" || root == "HKCR", "no root: " + s);
        path = slash == std::string::npos ? "" : s.substr(slash + 1);
        return root;
    }
    static bool OneOf(const std::string& s, std::initializer_list<const char*> names) {
        return std::find(names.begin(), names.end(), s) != names.end();
    }

    void Directive(const std::vector<std::string>& a, const std::string& raw) {
        const std::string& d = a[0];
        const std::size_t n = a.size();
        auto args = [&](bool ok) { Need(ok, "wrong arguments to " + d); };
        Row& r = row();
        if (d == "only") {
            args(n == 2 && OneOf(a[1], {"sim", "wine"}));
            r.only = a[1];
        } else if (OneOf(d, {"hostile", "ini-hidden", "no-custom-folder"})) {
            args(n == 1);
            (d == "hostile"      ? r.hostile
             : d == "ini-hidden" ? r.iniHidden
                                 : r.noCustomFolder) = true;
        } else if (d == "ini" || d == "ini-raw") {
            args(n == 2);
            r.hasIni = true;
            r.ini += a[1] + (d == "ini" ? "\r\n" : "");
        } else if (d == "list" || d == "list-raw") {
            args(n == 3);
            auto it = std::find_if(r.lists.begin(), r.lists.end(),
                                   [&](const auto& l) { return l.first == a[1]; });
            if (it == r.lists.end()) it = r.lists.insert(r.lists.end(), {a[1], ""});
            it->second += a[2] + (d == "list" ? "\r\n" : "");
        } else if (d == "repeat") {
            args(n >= 3);
            // The directive is split again for every index.
            const auto at = raw.find_first_of(" \t", raw.find(a[1], raw.find("repeat") + 6));
            const long long count = Number(a[1]);
            for (index = 0; index < count; ++index)
                Directive(Split(raw.substr(at)), raw.substr(at));
            index = -1;
        } else if (d == "temp") {
            args(n == 2);
            r.temp = a[1];
        } else if (d == "file" || d == "folder") {
            args(n >= 3);
            File f;
            f.path = a[1];
            f.outcome = ToOutcome(a[2]);
            f.folder = d == "folder";
            f.line = line;
            for (std::size_t k = 3; k < n; ++k) {
                if (!f.folder && a[k] == "locked") {
                    f.locked = true;
                } else if (k + 1 < n && (a[k] == "attr" || (!f.folder && a[k] == "text"))) {
                    (a[k] == "attr" ? f.attr : f.text) = a[k + 1];
                    ++k;
                } else {
                    Fail("unexpected " + a[k]);
                }
            }
            args(f.attr.find_first_not_of("rhsa") == std::string::npos);
            r.files.push_back(f);
        } else if (d == "link") {
            args(n == 4);
            r.links.push_back({a[1], a[2], ToOutcome(a[3]), line});
        } else if (d == "key") {
            args(n == 3 || (n == 4 && a[3] == "deny"));
            Key k;
            k.root = Root(a[1], k.path);
            k.outcome = ToOutcome(a[2]);
            k.deny = n == 4;
            k.line = line;
            r.keys.push_back(k);
        } else if (d == "value") {
            args(n == 4 || (n == 6 && OneOf(a[4], {"sz", "dword", "binary"})));
            Value v;
            v.root = Root(a[1], v.path);
            v.name = a[2] == "@" ? "" : a[2];
            v.outcome = ToOutcome(a[3]);
            v.line = line;
            if (n == 6) v.type = a[4], v.data = a[5];
            const bool hex = v.data.rfind("0x", 0) == 0;
            if (v.type == "dword")
                v.dword = static_cast<std::uint32_t>(
                    Number(hex ? v.data.substr(2) : v.data, hex ? 16 : 10));
            r.values.push_back(v);
        } else if (d == "cache" || d == "history") {
            args(n == 3 ||
                 (d == "cache" && n == 4 && OneOf(a[3], {"normal", "cookie", "history"})));
            (d == "cache" ? r.cache : r.history)
                .push_back({a[1], ToOutcome(a[2]), n == 4 ? a[3] : "normal", line});
        } else if (d == "drive") {
            args((n == 3 || (n == 4 && a[3] == "notready")) && a[1].size() == 1 &&
                 OneOf(a[2], {"fixed", "removable", "cdrom", "remote", "ramdisk"}));
            r.drives.push_back({a[1][0], a[2], n == 4});
        } else if (d == "fault") {
            args(n == 3 || n == 4);
            const bool hex = a[2].rfind("0x", 0) == 0;
            // 32-bit numbers as the platform gives them: HRESULTs are negative.
            const auto number = static_cast<std::int32_t>(
                static_cast<std::uint32_t>(Number(hex ? a[2].substr(2) : a[2], hex ? 16 : 10)));
            r.faults.push_back({a[1], number, n == 4 ? static_cast<int>(Number(a[3])) : 1});
        } else if (d == "box") {
            args(n == 2);
            r.boxes.push_back(a[1]);
        } else if (d == "ends") {
            args(n == 2);
            r.ends = a[1] == "complete"  ? Ends::kComplete
                     : a[1] == "refused" ? Ends::kRefused
                                         : Ends::kStep;
            r.endStep = r.ends == Ends::kStep ? static_cast<int>(Number(a[1])) : 0;
            args(r.ends != Ends::kStep || (r.endStep >= 1 && r.endStep <= 11));
        } else {
            Fail("unknown directive " + d);
        }
    }

    void Parse(const std::string& text) {
        std::istringstream in(text);
        for (std::string raw; std::getline(in, raw);) {
            ++line;
            if (!raw.empty() && raw.back() == '\r') raw.pop_back();
            const auto first = raw.find_first_not_of(" \t");
            if (first == std::string::npos || raw[first] == '#') continue;
            // A repeat line is split again per index; this split finds N.
            index = raw.compare(first, 7, "repeat ") == 0 ? 0 : -1;
            const auto a = Split(raw);
            if (a[0] != "scenario") {
                Need(!rows.empty() && rows.back().file == file, "a directive before scenario");
                Directive(a, raw);
                continue;
            }
            Need(a.size() == 2 && !a[1].empty() &&
                     std::all_of(a[1].begin(), a[1].end(),
                                 [](char c) { return std::isalnum(c & 0xFF) || c == '_'; }),
                 "scenario needs a NAME of letters, digits and _");
            for (const Row& r : rows)
                Need(r.name != a[1], a[1] + " also at " + r.file + ":" + std::to_string(r.line));
            rows.emplace_back();
            row().name = a[1];
            row().file = file;
            row().line = line;
        }
    }
};

}  // namespace

std::vector<Row> ParseText(const std::string& text, const std::string& file,
                           const std::string& program) {
    std::vector<Row> rows;
    Reader{file, program, rows}.Parse(text);
    return rows;
}

namespace {
void ReadInto(const std::string& path, const std::string& program, std::vector<Row>& rows) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ParseError(path + ": cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    Reader{std::filesystem::path(path).filename().string(), program, rows}.Parse(text.str());
}
}  // namespace

std::vector<Row> ParseFile(const std::string& path, const std::string& program) {
    std::vector<Row> rows;
    ReadInto(path, program, rows);
    return rows;
}

std::vector<Row> ParseFolder(const std::string& folder, const std::string& program) {
    std::vector<std::string> paths;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        if (e.path().extension() == ".scn") paths.push_back(e.path().string());
    std::sort(paths.begin(), paths.end());
    std::vector<Row> rows;
    for (const auto& path : paths) ReadInto(path, program, rows);
    return rows;
}

}  // namespace vw::scn
