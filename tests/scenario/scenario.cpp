#include "scenario/scenario.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace vw::scn {
namespace {

struct Reader {
    std::string file, program;
    int line = 0;
    Row* row = nullptr;
    long long index = -1;  // $(i) inside a repeat

    [[noreturn]] void Fail(const std::string& what) const {
        throw ParseError(file + ":" + std::to_string(line) + ": " + what);
    }

    long long Number(const std::string& s, int base = 10) const {
        std::size_t used = 0;
        long long n = -1;
        try {
            n = std::stoll(s, &used, base);
        } catch (const std::exception&) {
        }
        if (s.empty() || used != s.size() || n < 0) Fail("not a number: " + s);
        return n;
    }

    // Random bytes are the top bytes of a 32-bit LCG, the same on every build.
    static std::string Random(long long n, std::uint32_t seed) {
        std::string out;
        for (long long k = 0; k < n; ++k) {
            seed = seed * 1664525u + 1013904223u;
            out += static_cast<char>(seed >> 24);
        }
        return out;
    }

    // The inside of one $(...) (after "$(", up to its ")"), expanded.
    std::string Expand(const std::string& body) const {
        const auto blank = body.find(' ');
        const std::string name = body.substr(0, blank);
        const std::string rest = blank == std::string::npos ? "" : body.substr(blank + 1);
        if (name == "rep" || name == "random") {
            const auto b2 = rest.find(' ');
            if (b2 == std::string::npos) Fail("$(" + name + ") needs two arguments");
            const long long n = Number(rest.substr(0, b2));
            if (name == "random")
                return Random(n, static_cast<std::uint32_t>(Number(rest.substr(b2 + 1))));
            std::string text = rest.substr(b2 + 1), out;
            for (long long k = 0; k < n; ++k) out += text;
            return out;
        }
        if (!rest.empty()) Fail("unknown expansion $(" + body + ")");
        if (name.size() == 3 && name[0] == 'x')
            return std::string(1, char(Number(name.substr(1), 16)));
        if (name == "crlf") return "\r\n";
        if (name == "program") return program;
        if (name == "temp") {
            if (row->temp.empty()) Fail("$(temp) before a temp line");
            return row->temp;
        }
        if (name == "i" && index >= 0) return std::to_string(index);
        Fail("unknown expansion $(" + body + ")");
    }

    // Where the ")" closing the "$(" at `at` is.
    std::size_t Close(const std::string& text, std::size_t at) const {
        int depth = 0;
        for (std::size_t end = at + 1; end < text.size(); ++end) {
            if (text[end] == '(') ++depth;
            if (text[end] == ')' && --depth == 0) return end;
        }
        Fail("unclosed $(");
    }

    // Every $(...) in `text` expanded, all else as it is.
    std::string Flatten(const std::string& text) const {
        const auto at = text.find("$(");
        if (at == std::string::npos) return text;
        const std::size_t end = Close(text, at);
        return text.substr(0, at) + Expand(Flatten(text.substr(at + 2, end - at - 2))) +
               Flatten(text.substr(end + 1));
    }

    // Arguments of a line: blanks split, quotes group ("" is a quote), and an
    // expansion's result is taken as it is, whatever bytes it holds.
    std::vector<std::string> Split(const std::string& text) const {
        std::vector<std::string> args;
        std::string arg;
        bool inArg = false, quoted = false;
        for (std::size_t k = 0; k < text.size(); ++k) {
            const char c = text[k];
            if (c == '$' && k + 1 < text.size() && text[k + 1] == '(') {
                const std::size_t end = Close(text, k);
                // Expansions nested in rep's text come first.
                arg += Expand(Flatten(text.substr(k + 2, end - k - 2)));
                inArg = true;
                k = end;
            } else if (c == '"') {
                if (quoted && k + 1 < text.size() && text[k + 1] == '"') {
                    arg += '"';
                    ++k;
                } else {
                    quoted = !quoted;
                }
                inArg = true;
            } else if ((c == ' ' || c == '\t') && !quoted) {
                if (inArg) args.push_back(arg);
                arg.clear();
                inArg = false;
            } else {
                arg += c;
                inArg = true;
            }
        }
        if (quoted) Fail("unclosed quote");
        if (inArg) args.push_back(arg);
        return args;
    }

    Outcome ToOutcome(const std::string& s) const {
        for (Outcome o : {Outcome::kGone, Outcome::kStays, Outcome::kSet, Outcome::kChanged})
            if (s == ToString(o)) return o;
        Fail("not an outcome: " + s);
    }

    std::pair<std::string, std::string> RootPath(const std::string& s) const {
        const auto slash = s.find('\\');
        const std::string root = s.substr(0, slash);
        if (root != "HKCU" && root != "HKLM" && root != "HKU" && root != "HKCR")
            Fail("not a root: " + root);
        return {root, slash == std::string::npos ? "" : s.substr(slash + 1)};
    }

    // Options after the fixed arguments: `text T`, `attr L`, `locked`, `deny`.
    void Options(const std::vector<std::string>& a, std::size_t from, File* f, Key* key) const {
        for (std::size_t k = from; k < a.size(); ++k) {
            if (f && !f->folder && a[k] == "text" && k + 1 < a.size()) {
                f->text = a[++k];
            } else if (f && a[k] == "attr" && k + 1 < a.size()) {
                f->attr = a[++k];
                if (f->attr.find_first_not_of("rhsa") != std::string::npos) Fail("bad attr");
            } else if (f && !f->folder && a[k] == "locked") {
                f->locked = true;
            } else if (key && a[k] == "deny") {
                key->deny = true;
            } else {
                Fail("unexpected " + a[k]);
            }
        }
    }

    void Directive(const std::vector<std::string>& a, const std::string& raw) {
        const std::string& d = a[0];
        const std::size_t n = a.size();
        auto need = [&](bool ok) {
            if (!ok) Fail("wrong arguments to " + d);
        };
        if (d == "only") {
            need(n == 2 && (a[1] == "sim" || a[1] == "wine"));
            row->only = a[1];
        } else if (d == "hostile" || d == "ini-hidden" || d == "no-custom-folder") {
            need(n == 1);
            (d == "hostile"      ? row->hostile
             : d == "ini-hidden" ? row->iniHidden
                                 : row->noCustomFolder) = true;
        } else if (d == "ini" || d == "ini-raw") {
            need(n == 2);
            row->hasIni = true;
            row->ini += a[1] + (d == "ini" ? "\r\n" : "");
        } else if (d == "list" || d == "list-raw") {
            need(n == 3);
            auto it = std::find_if(row->lists.begin(), row->lists.end(),
                                   [&](const auto& l) { return l.first == a[1]; });
            if (it == row->lists.end()) it = row->lists.insert(row->lists.end(), {a[1], ""});
            it->second += a[2] + (d == "list" ? "\r\n" : "");
        } else if (d == "repeat") {
            need(n >= 3);
            // The directive is split again for every index, so $(i) counts.
            std::size_t at = raw.find("repeat") + 6;
            at = raw.find_first_not_of(" \t", at);
            at = raw.find_first_of(" \t", at);
            const std::string body = raw.substr(at);
            const long long count = Number(a[1]);
            for (index = 0; index < count; ++index) Directive(Split(body), body);
            index = -1;
        } else if (d == "temp") {
            need(n == 2);
            row->temp = a[1];
        } else if (d == "file" || d == "folder") {
            need(n >= 3);
            File f;
            f.folder = d == "folder";
            f.path = a[1];
            f.outcome = ToOutcome(a[2]);
            f.line = line;
            Options(a, 3, &f, nullptr);
            row->files.push_back(f);
        } else if (d == "link") {
            need(n == 4);
            row->links.push_back({a[1], a[2], ToOutcome(a[3]), line});
        } else if (d == "key") {
            need(n == 3 || n == 4);
            Key k;
            std::tie(k.root, k.path) = RootPath(a[1]);
            k.outcome = ToOutcome(a[2]);
            k.line = line;
            Options(a, 3, nullptr, &k);
            row->keys.push_back(k);
        } else if (d == "value") {
            need(n == 4 || n == 6);
            Value v;
            std::tie(v.root, v.path) = RootPath(a[1]);
            v.name = a[2] == "@" ? "" : a[2];
            v.outcome = ToOutcome(a[3]);
            v.line = line;
            if (n == 6) {
                v.type = a[4];
                v.data = a[5];
                need(v.type == "sz" || v.type == "dword" || v.type == "binary");
                if (v.type == "dword") {
                    const bool hex = v.data.rfind("0x", 0) == 0;
                    v.dword = static_cast<std::uint32_t>(
                        Number(hex ? v.data.substr(2) : v.data, hex ? 16 : 10));
                }
            }
            row->values.push_back(v);
        } else if (d == "cache" || d == "history") {
            need(n == 3 || (d == "cache" && n == 4));
            Url u{a[1], ToOutcome(a[2]),
                  d == "history" ? "history"
                  : n == 4       ? a[3]
                                 : "normal",
                  line};
            need(u.kind == "normal" || u.kind == "cookie" || u.kind == "history");
            (d == "cache" ? row->cache : row->history).push_back(u);
        } else if (d == "drive") {
            need((n == 3 || (n == 4 && a[3] == "notready")) && a[1].size() == 1);
            static const std::set<std::string> kinds{"fixed", "removable", "cdrom", "remote",
                                                     "ramdisk"};
            need(kinds.count(a[2]) == 1);
            row->drives.push_back({a[1][0], a[2], n == 4});
        } else if (d == "box") {
            need(n == 2);
            row->boxes.push_back(a[1]);
        } else if (d == "ends") {
            need(n == 2);
            if (a[1] == "complete") {
                row->ends = Ends::kComplete;
            } else if (a[1] == "refused") {
                row->ends = Ends::kRefused;
            } else {
                row->ends = Ends::kStep;
                row->endStep = static_cast<int>(Number(a[1]));
                need(row->endStep >= 1 && row->endStep <= 11);
            }
        } else {
            Fail("unknown directive " + d);
        }
    }
};

}  // namespace

const char* ToString(Outcome o) {
    switch (o) {
        case Outcome::kGone:
            return "gone";
        case Outcome::kStays:
            return "stays";
        case Outcome::kSet:
            return "set";
        case Outcome::kChanged:
            return "changed";
    }
    return "?";
}

std::vector<Row> ParseText(const std::string& text, const std::string& file,
                           const std::string& program) {
    std::vector<Row> rows;
    Reader r{file, program};
    std::istringstream in(text);
    std::string raw;
    while (std::getline(in, raw)) {
        ++r.line;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const auto first = raw.find_first_not_of(" \t");
        if (first == std::string::npos || raw[first] == '#') continue;
        // A repeat line is split again per index; the first split only finds N.
        r.index = raw.compare(first, 7, "repeat ") == 0 ? 0 : -1;
        const auto args = r.Split(raw);
        if (args[0] == "scenario") {
            if (args.size() != 2 || args[1].empty() ||
                args[1].find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                          "0123456789_") != std::string::npos)
                r.Fail("scenario needs a NAME of letters, digits and _");
            for (const auto& row : rows)
                if (row.name == args[1]) r.Fail("scenario " + args[1] + " twice");
            rows.emplace_back();
            rows.back().name = args[1];
            rows.back().file = file;
            rows.back().line = r.line;
            r.row = &rows.back();
        } else if (!r.row) {
            r.Fail("a directive before the first scenario");
        } else {
            r.Directive(args, raw);
        }
    }
    return rows;
}

std::vector<Row> ParseFile(const std::string& path, const std::string& program) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ParseError(path + ": cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    const auto slash = path.find_last_of("/\\");
    return ParseText(text.str(), slash == std::string::npos ? path : path.substr(slash + 1),
                     program);
}

std::vector<Row> ParseFolder(const std::string& folder, const std::string& program) {
    std::vector<std::string> paths;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        if (e.path().extension() == ".scn") paths.push_back(e.path().string());
    std::sort(paths.begin(), paths.end());
    std::vector<Row> rows;
    std::map<std::string, std::string> seen;
    for (const auto& p : paths) {
        for (auto& row : ParseFile(p, program)) {
            const std::string at = row.file + ":" + std::to_string(row.line);
            if (!seen.emplace(row.name, at).second)
                throw ParseError(at + ": scenario " + row.name + " also at " + seen[row.name]);
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

}  // namespace vw::scn
