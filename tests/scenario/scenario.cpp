#include "scenario/scenario.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace vw::scn {
namespace {

bool OneOf(const std::string& s, std::initializer_list<const char*> names) {
    return std::find(names.begin(), names.end(), s) != names.end();
}

// Arguments after the directive: fewest, most.
const std::map<std::string, std::pair<std::size_t, std::size_t>> kArity = {
    {"only", {1, 1}},       {"hostile", {0, 0}}, {"ini", {1, 1}},      {"ini-raw", {1, 1}},
    {"ini-hidden", {0, 0}}, {"list", {2, 2}},    {"list-raw", {2, 2}}, {"no-custom-folder", {0, 0}},
    {"repeat", {2, 99}},    {"temp", {1, 1}},    {"file", {2, 7}},     {"folder", {2, 4}},
    {"recycled", {2, 2}},   {"link", {3, 3}},    {"key", {2, 3}},      {"value", {3, 5}},
    {"cache", {2, 3}},      {"history", {2, 2}}, {"drive", {2, 3}},    {"box", {1, 1}},
    {"ends", {1, 1}},       {"fault", {2, 3}}};

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

    // Decimal, or hex after 0x; no sign.
    long long Number(const std::string& s) const {
        char* end = nullptr;
        const long long n = std::strtoll(s.c_str(), &end, s.rfind("0x", 0) == 0 ? 16 : 10);
        Need(std::isdigit(s[0] & 0xFF) && *end == '\0' && n >= 0, "not a number: " + s);
        return n;
    }

    // From the "$(" at `at`: its expansion, and `at` moved onto its ")".
    std::string Dollar(const std::string& text, std::size_t& at) {
        std::size_t end = at + 1;
        for (int depth = 0; end < text.size(); ++end) {
            depth += text[end] == '(' ? 1 : text[end] == ')' ? -1 : 0;
            if (depth == 0) break;
        }
        Need(end < text.size(), "unclosed $(");
        std::string body;
        for (std::size_t k = at + 2; k < end; ++k)
            body += text.compare(k, 2, "$(") == 0 ? Dollar(text, k) : std::string(1, text[k]);
        at = end;
        std::istringstream in(body);
        std::string name, count, arg, out;
        in >> name;
        if (name == "rep" || name == "random") {
            in >> count;
            in.get();  // one blank: the text may be blanks itself
            std::getline(in, arg);
            // Random bytes: the top bytes of a 32-bit LCG, the same on every build.
            auto seed = static_cast<std::uint32_t>(name == "random" ? Number(arg) : 0);
            for (long long k = Number(count); k > 0; --k) {
                seed = seed * 1664525u + 1013904223u;
                out += name == "rep" ? arg : std::string(1, static_cast<char>(seed >> 24));
            }
            return out;
        }
        if (body.size() == 3 && body[0] == 'x') return std::string(1, char(Number("0" + body)));
        if (body == "crlf") return "\r\n";
        if (body == "program") return program;
        if (body == "temp" && !row().temp.empty()) return row().temp;
        if (body == "i" && index >= 0) return std::to_string(index);
        Fail("cannot expand $(" + body + ")");
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
            } else if (c == '"' && quoted && text.compare(k, 2, "\"\"") == 0) {
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

    // Where `s` is among `names`.
    std::size_t Index(const std::string& s, std::initializer_list<const char*> names) const {
        const std::size_t at = std::find(names.begin(), names.end(), s) - names.begin();
        Need(at < names.size(), "unknown word " + s);
        return at;
    }
    void Directive(const std::vector<std::string>& a, const std::string& raw) {
        const std::string& d = a[0];
        const std::size_t n = a.size();
        const auto arity = kArity.find(d);
        Need(arity != kArity.end(), "unknown directive " + d);
        auto need = [&](bool ok) { Need(ok, "wrong arguments to " + d); };
        need(n > arity->second.first && n <= arity->second.second + 1);
        Row& r = row();
        const std::string lf = d == "ini" || d == "list" ? "\r\n" : "";
        if (d == "only") {
            need(OneOf(a[1], {"sim", "wine"}));
            r.only = a[1];
        } else if (d == "hostile" || d == "ini-hidden" || d == "no-custom-folder") {
            (d == "hostile"      ? r.hostile
             : d == "ini-hidden" ? r.iniHidden
                                 : r.noCustomFolder) = true;
        } else if (d == "ini" || d == "ini-raw") {
            r.hasIni = true;
            r.ini += a[1] + lf;
        } else if (d == "list" || d == "list-raw") {
            r.lists[a[1]] += a[2] + lf;
        } else if (d == "repeat") {
            // The directive is split again for every index.
            const auto at = raw.find_first_of(" \t", raw.find(a[1], raw.find("repeat") + 6));
            const long long count = Number(a[1]);
            for (index = 0; index < count; ++index)
                Directive(Split(raw.substr(at)), raw.substr(at));
            index = -1;
        } else if (d == "temp") {
            r.temp = a[1];
        } else if (d == "drive") {
            need((n == 3 || a[3] == "notready") && a[1].size() == 1);
            const auto kind = Index(a[2], {"removable", "fixed", "remote", "cdrom", "ramdisk"});
            r.drives.push_back({a[1][0], static_cast<int>(kind) + 1, n == 4});
        } else if (d == "box") {
            r.boxes.push_back(a[1]);
        } else if (d == "ends") {
            r.ends = a[1] == "complete" ? 12 : a[1] == "refused" ? 0 : int(Number(a[1]));
            need(OneOf(a[1], {"complete", "refused"}) || (r.ends >= 1 && r.ends <= 11));
        } else if (d == "fault") {
            // 32-bit numbers as the platform gives them: HRESULTs are negative.
            const auto number = static_cast<std::int32_t>(static_cast<std::uint32_t>(Number(a[2])));
            r.faults.push_back({a[1], number, n == 4 ? static_cast<int>(Number(a[3])) : 1});
        } else {  // a thing: its OUTCOME follows the path, or the target or name
            const std::size_t o = d == "link" || d == "value" ? 3 : 2;
            const std::string name = o == 3 ? a[2] : d == "cache" ? "normal" : "";
            const auto outcome = Outcome(Index(a[o], {"gone", "stays", "set", "changed"}));
            Thing t{d, a[1], name, outcome, 0, 1, 0, "x", false, line};
            std::string attr;  // letters of r h s a
            for (std::size_t k = o + 1; k < n; ++k) {
                const std::string& w = a[k];
                const bool pair =
                    k + 1 < n && ((w == "attr" && d != "value") || (d == "file" && w == "text") ||
                                  (d == "value" && OneOf(w, {"sz", "dword", "binary"})));
                need(pair || d == "cache" || (d == "file" && w == "locked") ||
                     (d == "key" && w == "deny"));
                if (d == "value") t.type = w == "sz" ? 1 : w == "binary" ? 3 : 4;
                if (!pair && d != "cache")
                    t.locked = true;
                else
                    (d == "cache" ? t.name : w == "attr" ? attr : t.text) = pair ? a[++k] : w;
            }
            need(attr.find_first_not_of("rhsa") == std::string::npos);
            for (char c : attr) t.bits |= 1u << std::string("rhs__a").find(c);
            const char* kinds[] = {"normal", "sticky", "sparse", "cookie", "history"};
            const std::uint32_t kindBits[] = {1, 4, 0x10000, 0x100000, 0x200000};
            for (int k = 0; d == "cache" && k < 5; ++k)
                if (t.name.find(kinds[k]) != std::string::npos) t.bits |= kindBits[k];
            if (d == "key" || d == "value") {  // ROOT\path
                const auto slash = t.path.find('\\');
                t.root = static_cast<std::int32_t>(
                    0x80000000u + Index(t.path.substr(0, slash), {"HKCR", "HKCU", "HKLM", "HKU"}));
                t.path = slash == std::string::npos ? "" : t.path.substr(slash + 1);
            }
            if (d == "value" && t.name == "@") t.name = "";
            const auto dword = static_cast<std::uint32_t>(t.type == 4 ? Number(t.text) : 0);
            if (t.type == 4) t.text = std::string(reinterpret_cast<const char*>(&dword), 4);
            r.things.push_back(t);
        }
    }

    void Parse(std::istream& in) {
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
            Row& r = rows.emplace_back();
            r.name = a[1], r.file = file, r.line = line;
        }
    }
};

}  // namespace

std::vector<Row> ParseFolder(const std::string& folder, const std::string& program,
                             const std::string& backend) {
    std::vector<std::string> paths;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        if (e.path().extension() == ".scn") paths.push_back(e.path().string());
    std::sort(paths.begin(), paths.end());
    std::vector<Row> rows;
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        if (!in) throw ParseError(path + ": cannot be read");
        Reader{std::filesystem::path(path).filename().string(), program, rows}.Parse(in);
    }
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [&](const Row& r) { return !r.only.empty() && r.only != backend; }),
               rows.end());
    return rows;
}

}  // namespace vw::scn
