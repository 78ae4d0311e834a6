#include "platform/contract/contract.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "platform/contract/file_cases.h"
#include "platform/field_reader.h"
#include "platform/file_system_object.h"
#include "platform/sim/sim_ui.h"
#include "registry/reg32.h"
#include "text/wildcard.h"
#include "washers/ie/ie_cache.h"
#include "washers/ie/url_history.h"

namespace vw::contract {

namespace {

const char kCases[] =
#include "platform/contract/cases.txt"
    ;

using Args = std::vector<std::string>;
const auto Str = [](auto n) { return std::to_string(n); };
const auto Num = [](const std::string& s) {
    return static_cast<std::uint32_t>(std::stoul(s.empty() ? "0" : s, nullptr, 0));
};

class Runner {
  public:
    explicit Runner(Stage& s) : s_(s), p_(s.Parts()), fso_(p_.files) {}
    ~Runner() {
        keys_.clear();
        EXPECT_EQ(s_.OpenHandles().value_or(0), 0u) << "keys left open";
    }
    // The answer to one step; a RunError answers with its number.
    std::string Do(const Args& a);

    // Escapes: {_} blank, {t} tab, {n} CR LF, {lf} LF, {0} NUL, {bom}, {xHH..}
    // bytes, {N*text} text N times, {} nothing; "~" the folder, "$" the key.
    std::string Expand(const std::string& in) {
        static const std::map<std::string, std::string> kNamed = {
            {"_", " "},   {"t", "\t"},    {"n", "\r\n"},
            {"lf", "\n"}, {"0", {"", 1}}, {"bom", "\xEF\xBB\xBF"},
            {"", ""}};
        std::string out;
        for (std::size_t i = 0; i < in.size(); ++i) {
            const char c = in[i];
            if (c != '{') out += c == '~' ? s_.Root() : c == '$' ? s_.Scratch() : std::string(1, c);
            if (c != '{') continue;
            int depth = 0;
            std::size_t end = i;
            while (end < in.size() && (depth += (in[end] == '{') - (in[end] == '}')) > 0) ++end;
            const std::string body = in.substr(i + 1, end - i - 1);
            const auto star = body.find('*');
            const bool named = kNamed.count(body) > 0, hex = !named && star == std::string::npos;
            if (named) out += kNamed.at(body);
            for (std::size_t h = 1; hex && h + 1 < body.size(); h += 2)
                out += static_cast<char>(std::stoi(body.substr(h, 2), nullptr, 16));
            for (int n = named || hex ? 0 : std::stoi(body.substr(0, star)); n > 0; --n)
                out += Expand(body.substr(star + 1));
            i = end;
        }
        return out;
    }

  private:
    // Attribute letters in the order of their bits, "L" a link.
    static std::uint32_t Attr(const std::string& s) {
        std::uint32_t bits = 0;
        for (const char c : s) {
            const auto at = std::string("RHSVDA").find(c);
            bits |= (at != std::string::npos ? 1u << at : 0) | (c == 'L' ? attr::kReparsePoint : 0);
        }
        return bits;
    }
    static std::string Join(Args items, bool sorted = true) {
        if (sorted) std::sort(items.begin(), items.end());
        std::string out;
        for (std::size_t i = 0; i < items.size(); ++i) out += (i ? "|" : "") + items[i];
        return out;
    }
    static std::string Name(const RegName& n) { return n.status ? Str(n.status) : "0 " + n.name; }
    static std::string Read(const RegRead& r) {
        if (r.status != 0) return Str(r.status) + (r.type || !r.data.empty() ? " junk" : "");
        return "0 " + Str(r.type) + " " + r.data;
    }
    RegKey& Key(const std::string& t) {
        return keys_.count(t) ? *keys_[t] : p_.registry.Root(RootOf(t));
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
    std::optional<CURLHistory> history_;
};

std::string Runner::Do(const Args& a) try {
    const std::string& op = a[0];
    FileSystem& fs = p_.files;
    // Staged and inspected through the seam, where it has the calls.
    if (op == "file" || op == "dir") {
        for (auto at = a[1].find('\\', 3); at != std::string::npos; at = a[1].find('\\', at + 1))
            ResumeNext([&] { fs.CreateFolder(a[1].substr(0, at)); });
        if (op == "dir") fs.CreateFolder(a[1]);
        if (op == "file") fs.OpenBinary(a[1])->WriteAt(0, a[2]);
        if (Attr(a[op == "dir" ? 2 : 3])) fs.SetAttributes(a[1], Attr(a[op == "dir" ? 2 : 3]));
        return "0";
    }
    DirEntry entry;
    if (op == "exists") return Str(fs.Enumerate(a[1])->Next(entry));
    if (op == "hold") return s_.HoldOpen(a[1]), "0";
    if (op == "key") return Str(Key("hkcu").CreateKey(a[1]).status);
    if (op == "keyexists") return Str(Key("hkcu").OpenKey(a[1], 0).status != 2);
    if (op == "valueexists") {
        const RegOpen key = Key("hkcu").OpenKey(a[1], 0);
        return Str(key.key && key.key->QueryValue(a[2]).status == 0);
    }
    if (op == "value") return s_.SetValue(a[1], a[2], Num(a[3]), a[4]), "0";
    if (op == "deny") return s_.DenyAll(a[1]), "0";
    if (op == "commit")
        return committed_.insert(a[1]), s_.Commit(a[1], Num(a[2]), Num(a[3]), Num(a[4])), "0";
    Args seen;
    if (op == "boxes") {
        for (const auto& b : dynamic_cast<sim::SimUi&>(p_.ui).boxes)
            seen.push_back(b.text + "/" + b.caption + "/" + Str(b.type));
        return Join(seen, false);
    }
    // The file services and the scripting object over them.
    if (op == "RemoveFile") return fs.RemoveFile(a[1]), "0";
    if (op == "SetAttributes") return fs.SetAttributes(a[1], Attr(a[2])), "0";
    if (op == "CreateFolder") return fs.CreateFolder(a[1]), "0";
    if (op == "RemoveFolder") return fs.RemoveFolder(a[1]), "0";
    if (op == "Kill") return fs.Kill(a[1]), "0";
    if (op == "ReadAll") return fs.ReadAll(a[1]);
    if (op == "ReadText") return fs.ReadText(a[1]);
    if (op == "open") return (file_ = fs.OpenBinary(a[1])) ? Str(file_->Length()) : "null";
    if (op == "write") return file_->WriteAt(Num(a[1]), a[2]), "0";
    if (op == "flush") return file_->Flush(), "0";
    if (op == "length") return Str(file_->Length());
    if (op == "close") return file_.reset(), keys_.erase(a[1]), "0";
    if (op == "list") {
        auto listing = fs.List(a[1], Attr(a[2]));
        // Bounded: a listing that never ends fails rather than hangs.
        for (auto name = listing.Next(); !name.empty() && seen.size() < 1000; name = listing.Next())
            seen.push_back(name);
        return Join(seen);
    }
    // What a preview asks, changing nothing: "error attributes size".
    if (op == "ProbeEntry") {
        const EntryProbe e = fs.ProbeEntry(a[1]);
        std::string letters;
        for (int bit = 0; bit < 6; ++bit)
            if (e.attributes & (1u << bit)) letters += "RHSVDA"[bit];
        return Str(e.error) + " " + letters + " " + Str(e.size) + (e.passedOver ? " over" : "");
    }
    if (op == "QueryRecycleBin") return Str(p_.shell.QueryRecycleBin(a[1]).status);
    if (op == "KindOfDrive") return Str(static_cast<int>(fs.KindOfDrive(a[1])));
    if (op == "TempPath") return fs.TempPath();
    if (op == "WindowsFolder") return fs.WindowsFolder();
    if (op == "ProfileFolder") return fs.ProfileFolder();
    if (op == "AnsiToUtf8") return fs.AnsiToUtf8(a[1]);
    if (op == "DeleteFolder") return fso_.DeleteFolder(a[1], a[2] == "force"), "0";
    if (op == "GetFolder") return fso_.GetFolder(a[1]).Path();
    if (op == "Children") {
        const FsoFolder folder = fso_.GetFolder(a[1]);
        for (const auto& f : folder.Files()) seen.push_back(f.Path() + ":" + f.Name());
        for (const auto& f : folder.SubFolders()) seen.push_back(f.Path());
        return Join(seen);
    }
    if (op == "GetDrive")
        return Str(fso_.GetDrive(a[1]).DriveType()) + fso_.GetDrive(a[1]).DriveLetter();
    if (op == "GetDriveName") return FileSystemObject::GetDriveName(a[1]);
    if (op == "fields") {
        FieldReader reader(a[1]);
        while (!reader.AtEnd() && seen.size() <= a[1].size()) seen.push_back(reader.Next());
        return "[" + Join(seen, false) + "] " + Str(ErrorOf([&] { reader.Next(); }));
    }
    // The registry, the key objects named by the case, and the layer above.
    if (op == "OpenKey") return Opened(a[1], Key(a[2]).OpenKey(a[3], Num(a[4])));
    if (op == "CreateKey") return Opened(a[1], Key(a[2]).CreateKey(a[3]));
    if (op == "QueryValue") return Read(Key(a[1]).QueryValue(a[2]));
    if (op == "DeleteValue") return Str(Key(a[1]).DeleteValue(a[2]));
    if (op == "DeleteKey") return Str(Key(a[1]).DeleteKey(a[2]));
    if (op == "ProbeDeleteKey") return Str(Key(a[1]).ProbeDeleteKey(a[2]));
    if (op == "SubKeyName") return Name(Key(a[1]).SubKeyName(Num(a[2])));
    if (op == "ValueName") return Name(Key(a[1]).ValueName(Num(a[2])));
    if (op == "QueryInfo") {
        const RegInfo r = Key(a[1]).QueryInfo();
        return Str(r.status) + " " + Str(r.info.SubKeyCount) + " " + Str(r.info.ValueCount);
    }
    if (op == "ValueNames") {
        RegName n;
        for (std::uint32_t i = 0; (n = Key(a[1]).ValueName(i)).status == 0; ++i)
            seen.push_back(n.name);
        return Join(seen) + " then " + Str(n.status);
    }
    std::string below = "-";
    if (op == "ParseRootKey") return ParseRootKey(a[1], below) + " " + below;
    if (op == "CreateRegKey") return CreateRegKey(p_, RootOf(a[1]), a[2]), "0";
    if (op == "GetRegString") return GetRegString(p_, RootOf(a[1]), a[2], a[3]);
    if (op == "DeleteRegValue") return DeleteRegValue(p_, RootOf(a[1]), a[2], a[3]), "0";
    if (op == "DeleteRegKeyTree") return Str(DeleteRegKeyTree(p_, RootOf(a[1]), a[2]));
    if (op == "DeleteRegValuesByPrefix")
        return DeleteRegValuesByPrefix(p_, RootOf(a[1]), a[2], a[3]), "0";
    // Initialization files, the URL cache and the history store.
    if (op == "profile") return p_.profile.ReadString(a[1], a[2], a[3], Num(a[4]));
    char text[32];
    if (op == "walk") {
        CacheEntry e;
        for (auto walk = p_.urlCache.Walk(); walk->Next(e);) {
            if (a[1] != "all" && !committed_.count(e.url)) continue;
            std::snprintf(text, sizeof text, " %#x", e.type);
            seen.push_back(e.url + text);
            if (a[1] == "deleting" && !p_.urlCache.DeleteEntry(e.url)) seen.back() += " kept";
        }
        return Join(seen);
    }
    if (op == "DeleteEntry") return Str(p_.urlCache.DeleteEntry(a[1]));
    if (op == "LocalDate") {  // plus zero: -0 reads as 0
        const double date = p_.urlHistory.LocalDate({Num(a[1]), Num(a[2])}) + 0.;
        return std::snprintf(text, sizeof text, "%.7f", date), text;
    }
    if (op == "clean") return DeleteCacheURLList(p_), "0";
    // The history as a list over the store; "-" no filter.
    if (op == "History") return history_.emplace(p_), "0";
    if (op == "Refresh")
        return history_->Refresh(a[1] == "-" ? std::nullopt : std::optional(a[1]), Num(a[2])), "0";
    if (op == "AddURL") return history_->AddURL(a[1], a[2], Num(a[3])), "0";
    if (op == "DeleteURL") return history_->DeleteURL(a[1], Num(a[2])), "0";
    if (op == "Remove") return history_->Remove(Num(a[1])), "0";
    if (op == "Clear") return history_->Clear(), "0";
    if (op == "Item") return history_->Item(Num(a[1])).URL();
    if (op == "urls") {
        for (const auto& item : history_->NewEnum()) seen.push_back(item->URL());
        return Str(history_->Count()) + " " + Join(seen, false);
    }
    return s_.Extra(a);
} catch (const RunError& e) {
    return std::to_string(e.Number());
}

}  // namespace

const std::vector<Case>& Cases() {
    static std::vector<Case> all;
    std::istringstream text(all.empty() ? kCases : "");
    for (std::string line; std::getline(text, line);) {
        if (line.rfind("case ", 0) == 0)
            all.push_back({line.substr(5, line.find(' ', 5) - 5), line + " ", {}});
        else if (line.find_first_not_of(' ') != std::string::npos && line[0] != '#')
            all.back().lines.push_back(line);
    }
    return all;
}

// A step is "op arg..." with "= answer" when it answers (else "0" is
// expected); "sim:" or "wine:" before it keeps it to one backend. An
// answer with "*" is a mask.
void Run(const Case& c, Stage& stage, const std::string& backend) {
    Runner runner(stage);
    for (const std::string& line : c.lines) {
        const auto eq = line.find(" =");
        std::istringstream words(line.substr(0, eq));
        Args args;
        for (std::string word; words >> word;) args.push_back(runner.Expand(word));
        if (args[0].back() == ':' && args[0] != backend + ":") continue;
        if (args[0].back() == ':') args.erase(args.begin());
        const std::string expected =
            eq == std::string::npos ? "0"
                                    : runner.Expand(line.substr(std::min(eq + 3, line.size())));
        args.resize(8);
        const std::string answer = runner.Do(args);
        const bool negated = expected[0] == '!', mask = expected.find('*') != std::string::npos;
        EXPECT_TRUE(mask ? WildcardMatch(expected.substr(negated), answer) != negated
                         : answer == expected)
            << line << "\n  gave: " << answer;
    }
}

}  // namespace vw::contract
