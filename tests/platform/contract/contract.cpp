#include "platform/contract/contract.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "platform/field_reader.h"
#include "platform/file_system_object.h"
#include "platform/sim/sim_ui.h"
#include "registry/reg32.h"
#include "text/wildcard.h"
#include "washers/ie/ie_cache.h"

namespace vw::contract {

namespace {

const char kCases[] =
#include "platform/contract/cases.txt"
    ;

using Args = std::vector<std::string>;

template <typename T>
std::string Str(T n) {
    return std::to_string(n);
}
std::uint32_t Num(const std::string& s) {
    return static_cast<std::uint32_t>(std::stoul(s.empty() ? "0" : s, nullptr, 0));
}
// Attribute letters in the order of their bits, "L" a link.
std::uint32_t Attr(const std::string& s) {
    std::uint32_t bits = 0;
    for (const char c : s) {
        const auto at = std::string("RHSVDA").find(c);
        if (at != std::string::npos) bits |= 1u << at;
        if (c == 'L') bits |= attr::kReparsePoint;
    }
    return bits;
}
std::string Join(std::vector<std::string> items, bool sorted = true) {
    if (sorted) std::sort(items.begin(), items.end());
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? "|" : "") + items[i];
    return out;
}
// A value's answer, or the RunError number it raised.
template <typename F>
std::string Try(F&& f) {
    try {
        return f();
    } catch (const RunError& e) {
        return Str(e.Number());
    }
}
template <typename F>
std::string Void(F&& f) {
    return Try([&] { return f(), std::string("0"); });
}
std::string Name(const RegName& n) {
    return n.status ? Str(n.status) : "0 " + n.name;
}
std::string Read(const RegRead& r) {
    if (r.status != 0) return Str(r.status) + (r.type || !r.data.empty() ? " junk" : "");
    return "0 " + Str(r.type) + " " + r.data;
}

// Escapes: {_} blank, {t} tab, {n} CR LF, {lf} LF, {0} NUL, {bom}, {xHH..}
// bytes, {N*text} text N times, {} nothing; "~" the folder, "$" the key.
std::string Expand(const std::string& in, Stage& s) {
    static const std::map<std::string, std::string> kNamed = {
        {"_", " "},   {"t", "\t"},    {"n", "\r\n"},
        {"lf", "\n"}, {"0", {"", 1}}, {"bom", "\xEF\xBB\xBF"},
        {"", ""}};
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '~' || in[i] == '$') {
            out += in[i] == '~' ? s.Root() : s.Scratch();
        } else if (in[i] != '{') {
            out += in[i];
        } else {
            std::size_t end = i;
            for (int depth = 0; end < in.size(); ++end) {
                depth += (in[end] == '{') - (in[end] == '}');
                if (depth == 0) break;
            }
            const std::string body = in.substr(i + 1, end - i - 1);
            const auto star = body.find('*');
            if (kNamed.count(body)) {
                out += kNamed.at(body);
            } else if (star == std::string::npos) {
                for (std::size_t h = 1; h + 1 < body.size(); h += 2)
                    out += static_cast<char>(std::stoi(body.substr(h, 2), nullptr, 16));
            } else {
                for (int n = std::stoi(body.substr(0, star)); n > 0; --n)
                    out += Expand(body.substr(star + 1), s);
            }
            i = end;
        }
    }
    return out;
}

class Runner {
  public:
    explicit Runner(Stage& s) : s_(s), p_(s.Parts()), fso_(p_.files) {}
    ~Runner() {
        keys_.clear();
        EXPECT_EQ(s_.OpenHandles().value_or(0), 0u) << "keys left open";
    }
    std::string Do(const Args& a);

    RegKey& Key(const std::string& t) {
        if (keys_.count(t)) return *keys_[t];
        return p_.registry.Root(RootOf(t));
    }
    static HKey RootOf(const std::string& t) {
        return t == "hkcu" ? hkey::kCurrentUser : static_cast<std::int32_t>(Num(t));
    }
    std::string Opened(const std::string& as, RegOpen o) {
        if ((o.status == 0) != (o.key != nullptr)) return "a key iff 0, not " + Str(o.status);
        if (o.key) keys_[as] = std::move(o.key);
        return Str(o.status);
    }

    Stage& s_;
    Platform& p_;
    FileSystemObject fso_;
    std::map<std::string, std::unique_ptr<RegKey>> keys_;
    std::unique_ptr<BinaryFile> file_;
    std::set<std::string> committed_;
};

std::string Runner::Do(const Args& a) {
    const std::string& op = a[0];
    FileSystem& fs = p_.files;
    // Staged and inspected through the seam, where it has the calls.
    if (op == "file" || op == "dir") {
        return Void([&] {
            for (auto at = a[1].find('\\', 3); at != std::string::npos;
                 at = a[1].find('\\', at + 1))
                ResumeNext([&] { fs.CreateFolder(a[1].substr(0, at)); });
            if (op == "dir") fs.CreateFolder(a[1]);
            if (op == "file") fs.OpenBinary(a[1])->WriteAt(0, a[2]);
            if (Attr(a[op == "dir" ? 2 : 3])) fs.SetAttributes(a[1], Attr(a[op == "dir" ? 2 : 3]));
        });
    }
    if (op == "exists") {
        DirEntry entry;
        return Str(fs.Enumerate(a[1])->Next(entry));
    }
    if (op == "hold") return Void([&] { s_.HoldOpen(a[1]); });
    if (op == "key") return Str(Key("hkcu").CreateKey(a[1]).status);
    if (op == "keyexists") return Str(Key("hkcu").OpenKey(a[1], 0).status != 2);
    if (op == "valueexists") {
        const RegOpen key = Key("hkcu").OpenKey(a[1], 0);
        return Str(key.key && key.key->QueryValue(a[2]).status == 0);
    }
    if (op == "value") return Void([&] { s_.SetValue(a[1], a[2], Num(a[3]), a[4]); });
    if (op == "deny") return Void([&] { s_.DenyAll(a[1]); });
    if (op == "commit") {
        committed_.insert(a[1]);
        return Void([&] { s_.Commit(a[1], Num(a[2]), Num(a[3]), Num(a[4])); });
    }
    if (op == "boxes") {
        Args shown;
        for (const auto& b : dynamic_cast<sim::SimUi&>(p_.ui).boxes)
            shown.push_back(b.text + "/" + b.caption + "/" + Str(b.type));
        return Join(shown, false);
    }
    // The file services and the scripting object over them.
    if (op == "RemoveFile") return Void([&] { fs.RemoveFile(a[1]); });
    if (op == "SetAttributes") return Void([&] { fs.SetAttributes(a[1], Attr(a[2])); });
    if (op == "CreateFolder") return Void([&] { fs.CreateFolder(a[1]); });
    if (op == "RemoveFolder") return Void([&] { fs.RemoveFolder(a[1]); });
    if (op == "Kill") return Void([&] { fs.Kill(a[1]); });
    if (op == "ReadAll") return Try([&] { return fs.ReadAll(a[1]); });
    if (op == "ReadText") return Try([&] { return fs.ReadText(a[1]); });
    if (op == "open") {
        return Try([&] { return (file_ = fs.OpenBinary(a[1])) ? Str(file_->Length()) : "null"; });
    }
    if (op == "write") return Void([&] { file_->WriteAt(Num(a[1]), a[2]); });
    if (op == "flush") return Void([&] { file_->Flush(); });
    if (op == "length") return Try([&] { return Str(file_->Length()); });
    if (op == "close") return file_.reset(), keys_.erase(a[1]), "0";
    if (op == "list") {
        return Try([&] {
            Args names;
            auto listing = fs.List(a[1], Attr(a[2]));
            // Bounded: a listing that never ends fails rather than hangs.
            for (auto name = listing.Next(); !name.empty() && names.size() < 1000;
                 name = listing.Next())
                names.push_back(name);
            return Join(names);
        });
    }
    if (op == "KindOfDrive") return Str(static_cast<int>(fs.KindOfDrive(a[1])));
    if (op == "TempPath") return fs.TempPath();
    if (op == "WindowsFolder") return fs.WindowsFolder();
    if (op == "ProfileFolder") return fs.ProfileFolder();
    if (op == "AnsiToUtf8") return fs.AnsiToUtf8(a[1]);
    if (op == "DeleteFolder") return Void([&] { fso_.DeleteFolder(a[1], a[2] == "force"); });
    if (op == "GetFolder") return Try([&] { return fso_.GetFolder(a[1]).Path(); });
    if (op == "Children") {
        return Try([&] {
            Args paths;
            const FsoFolder folder = fso_.GetFolder(a[1]);
            for (const auto& f : folder.Files()) paths.push_back(f.Path() + ":" + f.Name());
            for (const auto& f : folder.SubFolders()) paths.push_back(f.Path());
            return Join(paths);
        });
    }
    if (op == "GetDrive") {
        return Try([&] {
            return Str(fso_.GetDrive(a[1]).DriveType()) + fso_.GetDrive(a[1]).DriveLetter();
        });
    }
    if (op == "GetDriveName") return FileSystemObject::GetDriveName(a[1]);
    if (op == "fields") {
        FieldReader reader(a[1]);
        Args fields;
        while (!reader.AtEnd() && fields.size() <= a[1].size()) fields.push_back(reader.Next());
        return "[" + Join(fields, false) + "] " + Void([&] { reader.Next(); });
    }
    // The registry, the key objects named by the case, and the layer above.
    if (op == "OpenKey") return Opened(a[1], Key(a[2]).OpenKey(a[3], Num(a[4])));
    if (op == "CreateKey") return Opened(a[1], Key(a[2]).CreateKey(a[3]));
    if (op == "QueryValue") return Read(Key(a[1]).QueryValue(a[2]));
    if (op == "DeleteValue") return Str(Key(a[1]).DeleteValue(a[2]));
    if (op == "DeleteKey") return Str(Key(a[1]).DeleteKey(a[2]));
    if (op == "SubKeyName") return Name(Key(a[1]).SubKeyName(Num(a[2])));
    if (op == "ValueName") return Name(Key(a[1]).ValueName(Num(a[2])));
    if (op == "QueryInfo") {
        const RegInfo r = Key(a[1]).QueryInfo();
        return Str(r.status) + " " + Str(r.info.SubKeyCount) + " " + Str(r.info.MaxSubKeyLen) +
               " " + Str(r.info.ValueCount) + " " + Str(r.info.MaxValueNameLen) + " " +
               Str(r.info.MaxValueLen);
    }
    if (op == "ValueNames") {
        Args names;
        RegName n;
        for (std::uint32_t i = 0; (n = Key(a[1]).ValueName(i)).status == 0; ++i)
            names.push_back(n.name);
        return Join(names) + " then " + Str(n.status);
    }
    if (op == "ParseRootKey") {
        return Try([&] {
            std::string below = "-", root = ParseRootKey(a[1], below);
            return root + " " + below;
        });
    }
    if (op == "CreateRegKey") return Void([&] { CreateRegKey(p_, RootOf(a[1]), a[2]); });
    if (op == "GetRegString") return GetRegString(p_, RootOf(a[1]), a[2], a[3]);
    if (op == "DeleteRegValue") return Void([&] { DeleteRegValue(p_, RootOf(a[1]), a[2], a[3]); });
    if (op == "DeleteRegKeyTree") return Str(DeleteRegKeyTree(p_, RootOf(a[1]), a[2]));
    if (op == "DeleteRegValuesByPrefix") {
        return Void([&] { DeleteRegValuesByPrefix(p_, RootOf(a[1]), a[2], a[3]); });
    }
    // Initialization files, the URL cache and the history store.
    if (op == "profile") return p_.profile.ReadString(a[1], a[2], a[3], Num(a[4]));
    if (op == "walk") {
        Args seen;
        CacheEntry e;
        for (auto walk = p_.urlCache.Walk(); walk->Next(e);) {
            if (a[1] != "all" && !committed_.count(e.url)) continue;
            char type[16];
            std::snprintf(type, sizeof type, " %#x", e.type);
            seen.push_back(e.url + type);
            if (a[1] == "deleting" && !p_.urlCache.DeleteEntry(e.url)) seen.back() += " kept";
        }
        return Join(seen);
    }
    if (op == "DeleteEntry") return Str(p_.urlCache.DeleteEntry(a[1]));
    if (op == "LocalDate") {
        char date[32];  // plus zero: -0 reads as 0
        std::snprintf(date, sizeof date, "%.7f",
                      p_.urlHistory.LocalDate({Num(a[1]), Num(a[2])}) + 0.);
        return date;
    }
    if (op == "clean") return Void([&] { DeleteCacheURLList(p_); });
    return s_.Extra(a);
}

}  // namespace

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = [] {
        std::vector<Case> all;
        std::istringstream text(kCases);
        for (std::string line; std::getline(text, line);) {
            if (line.rfind("case ", 0) == 0) {
                all.push_back({line.substr(5, line.find(' ', 5) - 5), line + " ", {}});
            } else if (line.find_first_not_of(' ') != std::string::npos && line[0] != '#') {
                all.back().lines.push_back(line);
            }
        }
        return all;
    }();
    return cases;
}

// A step is "op arg..." with "= answer" when it answers (else "0" is
// expected); "sim:" or "wine:" before it keeps it to one backend. An
// answer with "*" is a mask.
void Run(const Case& c, Stage& stage, const std::string& backend) {
    Runner runner(stage);
    for (const std::string& line : c.lines) {
        std::istringstream words(line.substr(0, line.find(" =")));
        Args args;
        for (std::string word; words >> word;) args.push_back(Expand(word, stage));
        if (args[0].back() == ':' && args[0] != backend + ":") continue;
        if (args[0].back() == ':') args.erase(args.begin());
        const auto eq = line.find(" =");
        const std::string expected =
            eq == std::string::npos ? "0"
                                    : Expand(line.substr(std::min(eq + 3, line.size())), stage);
        args.resize(8);
        const std::string answer = runner.Do(args);
        if (expected.find('*') != std::string::npos) {
            const bool negated = expected[0] == '!';
            EXPECT_NE(WildcardMatch(expected.substr(negated), answer), negated)
                << line << "\n  gave: " << answer;
        } else {
            EXPECT_EQ(answer, expected) << line;
        }
    }
}

}  // namespace vw::contract
