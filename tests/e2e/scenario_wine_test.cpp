// Every row of tests/scenarios/*.scn that may run under Wine, with the real
// exe: plant, start it from kRun, press OK on every box, check, put
// back. stage_sandbox.sh copies the tables to C:\e2e_scenarios and stages
// what a Windows program under Wine cannot make: the drives and the links.
#include <windows.h>
// After <windows.h>.
#include <gtest/gtest.h>
#include <sddl.h>
#include <shellapi.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <tuple>

#include "companion_probe.h"
#include "platform/win32/start_process.h"
#include "platform/win32/win32_process.h"
#include "scenario/scenario.h"
#include "support/agreement.h"

namespace vw::e2e {
namespace {

namespace fs = std::filesystem;
using scn::Outcome;
using Data = std::pair<DWORD, std::string>;  // a registry value's type and bytes

// A folder no ANSI code page holds: the program must find itself there, and
// start its companion from there. No blanks: Wine's cmd starts the preview
// by its path unquoted.
const std::string kRun = "C:\\e2e\\Программа日本\xF0\x9F\x98\x80";

// A table that cannot be read ends this program before any test, naming
// the file and line.
const std::vector<scn::Row> kRows = scn::ParseFolder("C:\\e2e_scenarios", kRun, "wine");

std::wstring W(const std::string& utf8) {
    return fs::u8path(utf8).wstring();
}
// Any depth, any name. Other drives are reached through their root folders
// on C:, which Wine knows in this program whatever a run did to the drive.
std::wstring Long(std::string path) {
    // As the system reads a path: a doubled "\" is one.
    for (std::size_t at; (at = path.find("\\\\", 2)) != std::string::npos;) path.erase(at, 1);
    const bool onC = (path[0] | 0x20) == 'c';
    return L"\\\\?\\" +
           W(onC ? path : "C:\\e2e_drives\\" + std::string(1, path[0] | 0x20) + path.substr(2));
}

// `make test-windows` greps this line out of the test log.
struct Tally {
    int scenarios = 0, checked = 0, lost = 0;
    ~Tally() {
        std::printf("hostile: scenarios=%d canaries_checked=%d canaries_lost=%d\n", scenarios,
                    checked, lost);
    }
} tally;

HKEY Root(const scn::Thing& t) {
    return reinterpret_cast<HKEY>(t.root);
}

// Keys opened below their parents, one name a call, so that no call sees
// more than one name whatever the depth, and each once while the Keys live:
// from the root, a 500-deep row would take 125,000 opens a read. With
// `create`, what is missing is made, and the first key made noted.
struct Keys {
    explicit Keys(bool create = false) : create(create) {}
    bool create;
    std::string made;
    std::map<std::tuple<HKEY, std::string, REGSAM>, win32::UniqueRegKey> held;

    LONG Open(HKEY root, const std::string& path, HKEY& key, REGSAM rights = KEY_READ) {
        win32::UniqueRegKey& at = held[{root, path, rights}];
        if (at) return key = at.get(), ERROR_SUCCESS;
        const std::size_t slash = path.rfind('\\');
        HKEY parent = root;
        const std::wstring name = W(path.substr(slash == path.npos ? 0 : slash + 1));
        DWORD how = 0;
        LONG status = slash == path.npos ? 0 : Open(root, path.substr(0, slash), parent);
        if (!status && create)
            status = RegCreateKeyExW(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                     &key, &how);
        else if (!status)
            status = RegOpenKeyExW(parent, name.c_str(), 0, rights, &key);
        if (!status) at.reset(key);
        if (how == REG_CREATED_NEW_KEY && made.empty()) made = path;
        return status;
    }
};

void SetDacl(const scn::Thing& k, const char* sddl) {
    Keys keys;
    HKEY key = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (keys.Open(Root(k), k.path, key, WRITE_DAC) == ERROR_SUCCESS &&
        ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr))
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd);
    LocalFree(sd);
}

Data DataOf(const scn::Thing& v) {
    if (v.type != REG_SZ) return {v.type, v.text};
    const std::wstring text = W(v.text) + L'\0';
    return {REG_SZ, std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2)};
}
std::optional<Data> Query(HKEY key, const std::wstring& name) {
    std::string data(1 << 16, '\0');  // more than any row plants
    DWORD type = 0, size = 1 << 16;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    return Data{type, data.substr(0, size)};
}
std::optional<Data> Query(HKEY root, const std::string& path, const std::wstring& name) {
    Keys keys;
    HKEY key = nullptr;
    return keys.Open(root, path, key) ? std::nullopt : Query(key, name);
}
LONG Set(HKEY key, const std::wstring& name, const Data& d) {
    return RegSetValueExW(key, name.c_str(), 0, d.first,
                          reinterpret_cast<const BYTE*>(d.second.data()),
                          static_cast<DWORD>(d.second.size()));
}

bool Commit(const scn::Thing& u) {
    char file[MAX_PATH] = {};
    if (!CreateUrlCacheEntryA(u.path.c_str(), 0, "htm", file, 0)) return false;
    std::ofstream(file) << "<html/>";
    return CommitUrlCacheEntryA(u.path.c_str(), file, {}, {}, u.bits, nullptr, 0, "htm", nullptr);
}
// Whether the Recycle Bin of every drive holds anything.
bool Binned() {
    SHQUERYRBINFO bin{sizeof bin, 0, 0};
    return SHQueryRecycleBinW(nullptr, &bin) == S_OK && bin.i64NumItems > 0;
}

// Values read "type:bytes", keys that refuse their opening "denied".
using test::State;
std::string Encode(const Data& d) {
    return std::to_string(d.first) + ":" + d.second;
}
// A `tree` is a folder read with what it holds.
void ReadEntry(const std::string& path, bool tree, State& s) {
    const DWORD attr = GetFileAttributesW(Long(path).c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) return;
    std::ifstream in(fs::path(Long(path)), std::ios::binary);  // held open: no bytes
    s["F" + preview::PathKey(path)] =
        std::to_string(attr & 0x417) + "|" + std::string(std::istreambuf_iterator<char>(in), {});
    WIN32_FIND_DATAW e;  // links not entered
    const win32::UniqueFindHandle list((attr & 0x410) == 16 && tree
                                           ? FindFirstFileW((Long(path) + L"\\*").c_str(), &e)
                                           : INVALID_HANDLE_VALUE);
    for (bool more = bool(list); more; more = FindNextFileW(list.get(), &e))
        if (std::wcscmp(e.cFileName, L".") && std::wcscmp(e.cFileName, L".."))
            ReadEntry(path + "\\" + fs::path(e.cFileName).u8string(), true, s);
}
State Read(const std::vector<scn::Thing>& things) {
    State s;
    Keys keys;
    for (const scn::Thing& t : things) {
        HKEY key = nullptr;
        const LONG status = t.root ? keys.Open(Root(t), t.path, key) : 2;
        const auto data = status || t.kind != "value" ? std::nullopt : Query(key, W(t.name));
        DWORD size = 0;  // a cache entry that is there asks for more room
        if ((t.kind == "key" && status != ERROR_FILE_NOT_FOUND) || data ||
            (t.kind == "cache" && !GetUrlCacheEntryInfoA(t.path.c_str(), nullptr, &size) &&
             GetLastError() == ERROR_INSUFFICIENT_BUFFER) ||
            (t.kind == "recycled" && Binned()))
            s[test::Id(t)] = data ? Encode(*data) : t.root && status ? "denied" : "";
        if (!t.root && t.kind != "cache" && t.kind != "recycled")
            ReadEntry(t.path, t.kind == "tree", s);
    }
    return s;
}
// A program started from C:\windows, where Wine starts one that has no
// folder of its own.
win32::StartedProcess Start(const std::string& program, const std::string& arguments) {
    win32::StartedProcess run;
    for (int tries = 0; !run.process && tries < 3; ++tries) {  // Wine fails a start now and then
        if (tries) Sleep(500);
        run = win32::StartProcess(W(program), W(arguments), {-1, 0, nullptr, L"C:\\windows"});
    }
    return run;
}

// One row on the real machine: plant, start, check; TearDown puts back what
// it planted.
class Scenario : public ::testing::TestWithParam<std::size_t> {
  protected:
    void TearDown() override;
    std::string Parked(const std::string& carrier) const {
        return "C:\\e2e_park\\" + row_.name + "\\C" + carrier.substr(2);
    }
    // Creates the key as needed; what did not exist goes when the row ends.
    HKEY Make(const scn::Thing& t) {
        HKEY key = nullptr;
        planted_.made.clear();
        EXPECT_EQ(planted_.Open(Root(t), t.path, key), ERROR_SUCCESS) << t.path;
        if (!planted_.made.empty()) keysMade_.emplace_back(Root(t), planted_.made);
        return key;
    }
    // Files let go and keys opened up again, for the checks and the cleanup.
    void Release() {
        locks_.clear();
        for (const scn::Thing& k : row_.things)
            if (k.kind == "key" && k.locked) SetDacl(k, "D:(A;;KA;;;WD)");
    }
    // What the row planted, and what the folders it made hold.
    std::vector<scn::Thing> Planted() const {
        std::vector<scn::Thing> at = row_.things;
        for (const auto& folders : {folders_, carriers_})
            for (const std::string& f : folders)
                at.emplace_back().kind = "tree", at.back().path = f;
        return at;
    }

    const scn::Row& row_ = kRows[GetParam()];
    std::vector<std::string> files_, folders_, carriers_;
    std::vector<std::pair<HKEY, std::string>> keysMade_;
    std::vector<std::tuple<HKEY, std::string, std::wstring, std::optional<Data>>> saved_;
    std::vector<win32::UniqueFileHandle> locks_;
    Keys planted_{true};
};

TEST_P(Scenario, Row) {
    const fs::path bin = "C:\\bin";  // where wine-run.sh puts this program and its siblings
    std::error_code ec;
    fs::remove_all(W(kRun), ec);  // a crashed earlier run may have left it
    fs::create_directories(W(kRun + (row_.noCustomFolder ? "" : "\\Custom")), ec);
    for (const char* exe : {"\\vantrixwash.exe", "\\vantrixpreview.exe"})
        ASSERT_TRUE(fs::copy_file(bin.string() + exe, W(kRun + exe),
                                  fs::copy_options::overwrite_existing, ec));
    if (row_.hasIni) std::ofstream(fs::u8path(kRun + "\\Local.Ini"), std::ios::binary) << row_.ini;
    if (row_.iniHidden) SetFileAttributesW(W(kRun + "\\Local.Ini").c_str(), FILE_ATTRIBUTE_HIDDEN);
    for (const auto& [name, text] : row_.lists)
        std::ofstream(fs::u8path(kRun + "\\Custom\\" + name), std::ios::binary) << text;
    // Links on C: move in with the folder C:\<first name> that holds them;
    // those on other drives are there for the whole suite.
    for (const scn::Thing& l : row_.things) {
        const std::string carrier = l.path.substr(0, l.path.find('\\', 3));
        if (l.kind != "link" || l.path[0] != 'C' ||
            std::count(carriers_.begin(), carriers_.end(), carrier))
            continue;
        ASSERT_TRUE(MoveFileA(Parked(carrier).c_str(), carrier.c_str())) << "line " << l.line;
        carriers_.push_back(carrier);
    }
    for (const scn::Thing& t : row_.things) {
        const bool file = t.kind == "file" || t.kind == "recycled", folder = t.kind == "folder";
        const std::string path = t.path + (folder ? "\\" : "");
        for (std::size_t at = path.find('\\', 3); (file || folder) && at != std::string::npos;
             at = path.find('\\', at + 1))
            if (CreateDirectoryW(Long(path.substr(0, at)).c_str(), nullptr))
                folders_.push_back(path.substr(0, at));
        // The companion is a probe that tells how it was started.
        if (file && t.path.size() > 14 && t.path.substr(t.path.size() - 14) == "\\vantrixie.exe")
            fs::copy_file(bin / "ie_companion_probe.exe", Long(t.path), ec);
        else if (file)
            std::ofstream(fs::path(Long(t.path)), std::ios::binary) << t.text;
        if (file) files_.push_back(t.path);
        ASSERT_TRUE(!(file || folder) ||
                    (GetFileAttributesW(Long(t.path).c_str()) != INVALID_FILE_ATTRIBUTES &&
                     (!t.bits || SetFileAttributesW(Long(t.path).c_str(), t.bits))))
            << "line " << t.line;
        if (file && t.locked)  // without sharing: the run can neither open nor delete it
            locks_.emplace_back(CreateFileW(Long(t.path).c_str(), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(!file || !t.locked || locks_.back()) << "line " << t.line;
        if (t.kind == "recycled") {  // by the shell, as a user would, undo allowed
            const std::wstring from = W(t.path) + L'\0';
            const FILEOP_FLAGS flags =
                FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
            SHFILEOPSTRUCTW op{nullptr, FO_DELETE, from.c_str(), nullptr,
                               flags,   FALSE,     nullptr,      nullptr};
            ASSERT_TRUE(SHFileOperationW(&op) == 0 && Binned()) << "line " << t.line;
        }
        if (t.kind == "key") Make(t);
        if (t.kind == "value") {
            const HKEY root = Root(t);
            // Wine's WinINet copies "User Shell Folders" over this value.
            const std::string user =
                std::string(t.path).replace(t.path.rfind('\\') + 1, 5, "User Shell");
            const bool cookies =
                t.path.find("\\Explorer\\Shell Folders") != t.path.npos && t.name == "Cookies";
            for (const std::string& p : cookies ? std::vector{user, t.path} : std::vector{t.path})
                saved_.emplace_back(root, p, W(t.name), Query(root, p, W(t.name)));
            if (cookies) RegDeleteKeyValueW(root, W(user).c_str(), L"Cookies");
            ASSERT_EQ(Set(Make(t), W(t.name), DataOf(t)), ERROR_SUCCESS) << t.line;
        }
        ASSERT_TRUE(t.kind != "cache" || Commit(t)) << t.line;
        ASSERT_NE(t.kind, "history") << "Wine's URL history store keeps nothing";
    }
    // Last: a denied key takes nothing more below it.
    for (const scn::Thing& k : row_.things)
        if (k.kind == "key" && k.locked) SetDacl(k, "D:P(D;;KA;;;WD)");

    std::vector<std::string> boxes;
    std::optional<DWORD> ended;
    // Held while the run starts: the program's own single-instance claim.
    const win32::UniqueKernelHandle other(
        row_.ends == 0 ? CreateMutexA(nullptr, FALSE, win32::Win32Process::kInstanceMutexName)
                       : nullptr);
    const win32::UniqueKernelHandle release(CreateEventA(nullptr, TRUE, FALSE, kProbeRelease));
    // The run inherits them.
    static const std::string kOwnTemp = std::getenv("TEMP") ? std::getenv("TEMP") : "";
    for (const char* name : {"TMP", "TEMP"})
        SetEnvironmentVariableA(name, (row_.temp.empty() ? kOwnTemp : row_.temp).c_str());
    // The preview first, from the same folder: it changes nothing.
    // A process's first cache walk makes the cache's folders and indexes
    // where a row's settings move them, as they stand on any machine in use:
    // made before the snapshot, they are no change of the preview's. A row
    // that plants an index of its own keeps it as it is.
    const auto plants = [&](const char* part) {
        return std::any_of(row_.things.begin(), row_.things.end(),
                           [&](const scn::Thing& t) { return t.path.find(part) != t.path.npos; });
    };
    if (plants("Explorer\\Shell Folders") && !plants("\\index.dat")) {
        const win32::StartedProcess warm = Start((bin / "url_cache_tool.exe").string(), "walk");
        ASSERT_EQ(WaitForSingleObject(warm.process.get(), 120000), WAIT_OBJECT_0);
    }
    std::vector<scn::Thing> targets = Planted();
    const State planted = Read(targets);
    const bool previewed = test::SmallEnough(row_);
    const win32::StartedProcess preview =
        !previewed ? win32::StartedProcess{}
                   : Start("C:\\windows\\system32\\cmd.exe",
                           "/c \"\"" + kRun + "\\vantrixpreview.exe\" --json >\"" + kRun +
                               "\\preview.json\"\"");
    DWORD exited = 1;
    ASSERT_TRUE(!previewed || WaitForSingleObject(preview.process.get(), 120000) == WAIT_OBJECT_0);
    EXPECT_TRUE(!previewed || GetExitCodeProcess(preview.process.get(), &exited));
    EXPECT_TRUE(!previewed || exited == (row_.ends ? 0u : 3u)) << exited;
    EXPECT_EQ(test::Diff(planted, Read(targets)), "") << "the preview changed the machine";
    std::ifstream json(fs::u8path(kRun + "\\preview.json"));
    test::Report report = test::ReadReport(json);
    // Wine has one bin for every drive: emptying the first empties them all.
    int bins = 0;
    const auto emptied = [&](const preview::Change& c) {
        return c.action == preview::action::kEmptyRecycleBin && bins++ > 0;
    };
    report.changes.erase(std::remove_if(report.changes.begin(), report.changes.end(), emptied),
                         report.changes.end());
    // Where Wine shows them: its shell clears the document history through
    // RecentDocs alone; the companion probe deletes started.flag beside itself.
    for (preview::Change& c : report.changes) {
        if (c.action == preview::action::kClearDocumentHistory) {
            c.action = "gone key";
            c.target =
                "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                "Explorer\\RecentDocs";
        }
        if (c.action == preview::action::kStartProgram) {
            c.action = "gone";
            c.target = c.target.substr(0, c.target.rfind('\\')) + "\\started.flag";
        }
        const scn::Thing t = test::Of(c);
        targets.push_back(t);
        // A key is made with the keys above it.
        for (std::size_t at = 0; c.action == preview::action::kCreateKey &&
                                 (at = t.path.find('\\', at + 1)) != t.path.npos;)
            targets.push_back(t), targets.back().path.erase(at);
    }
    const State before = Read(targets);

    const win32::StartedProcess run = Start(kRun + "\\vantrixwash.exe", "");
    ASSERT_TRUE(run.process) << "cannot start the exe: " << GetLastError();
    // 100,000 records take seconds; a hang must still end.
    const ULONGLONG deadline = GetTickCount64() + 120000;
    for (DWORD code = 0; !ended && GetTickCount64() < deadline && boxes.size() < 20;) {
        if (WaitForSingleObject(run.process.get(), 20) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(run.process.get(), &code))
            ended = code;
        // Every visible dialog of the run, whatever its title.
        for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(box, &owner);
            if (owner != run.id || !IsWindowVisible(box)) continue;
            char text[512] = {};
            GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
            boxes.push_back(text);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            while (IsWindow(box) && GetTickCount64() < deadline) Sleep(10);
        }
    }
    if (!ended) TerminateProcess(run.process.get(), 1);
    SetEvent(release.get());

    EXPECT_EQ(ended, std::optional<DWORD>(0)) << "still running at the limit, or failed";
    EXPECT_EQ(boxes, row_.boxes);
    // The run does not wait for the companion, so what that deletes may come late.
    for (ULONGLONG until = GetTickCount64() + 5000;
         GetTickCount64() < until &&
         std::any_of(row_.things.begin(), row_.things.end(), [](auto& f) {
             return f.kind == "file" && f.outcome == Outcome::kGone &&
                    GetFileAttributesW(Long(f.path).c_str()) != INVALID_FILE_ATTRIBUTES;
         });)
        Sleep(20);
    // The wash made the changes the preview listed and no others.
    if (previewed) {
        EXPECT_EQ(test::Disagreement(before, report.changes, Read(targets)), "")
            << "the preview foretold other changes";
        EXPECT_EQ(report.boxes, row_.boxes);
        EXPECT_EQ(report.end, row_.ends == 12 ? "complete" : row_.ends ? "ended" : "refused");
        EXPECT_EQ(report.step, row_.ends);
    }

    Release();
    const State now = Read(Planted());
    for (const scn::Thing& t : row_.things) {
        const bool ok = test::CameOut(t, now, t.kind == "value" ? Encode(DataOf(t)) : "");
        if (row_.hostile && t.outcome == Outcome::kStays) ++tally.checked, tally.lost += !ok;
        EXPECT_TRUE(ok) << row_.file << ":" << t.line << ": " << t.path << " " << t.name;
    }
    tally.scenarios += row_.hostile;
}

void Scenario::TearDown() {
    Release();
    planted_.held.clear();
    for (const scn::Thing& u : row_.things)
        if (u.kind == "cache") DeleteUrlCacheEntryA(u.path.c_str());
    for (auto s = saved_.rbegin(); s != saved_.rend(); ++s) {
        const auto& [root, path, name, was] = *s;
        Keys keys{bool(was)};
        HKEY key = nullptr;
        if (!keys.Open(root, path, key, KEY_SET_VALUE))
            was ? Set(key, name, *was) : RegDeleteValueW(key, name.c_str());
    }
    for (auto k = keysMade_.rbegin(); k != keysMade_.rend(); ++k)
        RegDeleteTreeW(k->first, W(k->second).c_str());
    // Only what the row planted: nothing is entered that might be a link.
    for (auto f = files_.rbegin(); f != files_.rend(); ++f) {
        SetFileAttributesW(Long(*f).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(Long(*f).c_str());
    }
    for (auto f = folders_.rbegin(); f != folders_.rend(); ++f) RemoveDirectoryW(Long(*f).c_str());
    for (const std::string& carrier : carriers_)
        EXPECT_TRUE(MoveFileA(carrier.c_str(), Parked(carrier).c_str())) << carrier << " is left";
    std::error_code ec;
    fs::remove_all(W(kRun), ec);
}

INSTANTIATE_TEST_SUITE_P(Wine, Scenario, ::testing::Range<std::size_t>(0, kRows.size()),
                         [](const auto& info) { return kRows[info.param].name; });

}  // namespace
}  // namespace vw::e2e
