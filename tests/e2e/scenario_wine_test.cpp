// Every row of tests/scenarios/*.scn that may run under Wine, with the real
// exe: plant, start it from C:\e2e\run, press OK on every box, check, put
// back. stage_sandbox.sh copies the tables to C:\e2e_scenarios and stages
// what a Windows program under Wine cannot make: the drives, and each row's
// links, parked in C:\e2e_park\<row>\<letter> until the row moves them in.
#include <windows.h>
// After <windows.h>.
#include <gtest/gtest.h>
#include <sddl.h>
#include <shellapi.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "companion_probe.h"
#include "platform/win32/start_process.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_process.h"
#include "scenario/scenario.h"

namespace vw::e2e {
namespace {

namespace fs = std::filesystem;
using scn::Outcome;

const std::string kRun = "C:\\e2e\\run";
constexpr DWORD kRunMs = 120000;  // 100,000 records take seconds; a hang must end

std::wstring W(const std::string& utf8) {
    std::wstring wide;
    win32::ToWide(utf8, wide);
    return wide;
}
// Any depth, any name. Other drives are reached through their root folders
// on C:, which this program's Wine knows whatever was swapped in there.
std::wstring Long(const std::string& path) {
    const bool onC = path.rfind("C:", 0) == 0 || path.rfind("c:", 0) == 0;
    return L"\\\\?\\" +
           W(onC ? path : "C:\\e2e_drives\\" + std::string(1, path[0] | 0x20) + path.substr(2));
}
bool Exists(const std::string& path) {
    return GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}
std::string Read(const std::string& path) {
    std::ifstream in(fs::path(Long(path)), std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "\x01(none)";
}

struct Tally {
    int scenarios = 0, checked = 0, lost = 0;
} tally;

struct PrintTally : ::testing::Environment {
    // `make test-windows` greps this line out of the test log.
    void TearDown() override {
        std::printf("hostile: scenarios=%d canaries_checked=%d canaries_lost=%d\n", tally.scenarios,
                    tally.checked, tally.lost);
    }
};
[[maybe_unused]] auto* const kTally =
    ::testing::AddGlobalTestEnvironment(std::make_unique<PrintTally>().release());

HKEY RootOf(const std::string& root) {
    return root == "HKCU"   ? HKEY_CURRENT_USER
           : root == "HKLM" ? HKEY_LOCAL_MACHINE
           : root == "HKU"  ? HKEY_USERS
                            : HKEY_CLASSES_ROOT;
}

// Opens (or creates) root\path one name at a time, so that no call sees
// more than one name whatever the depth. `made`: the first key created.
LONG OpenKey(HKEY root, const std::string& path, win32::UniqueRegKey& key, bool create,
             std::string* made = nullptr) {
    HKEY at = root;
    for (std::size_t from = 0; from <= path.size();) {
        const std::size_t end = std::min(path.find('\\', from), path.size());
        HKEY next = nullptr;
        DWORD how = 0;
        const std::wstring name = W(path.substr(from, end - from));
        const LONG status = create ? RegCreateKeyExW(at, name.c_str(), 0, nullptr, 0,
                                                     KEY_ALL_ACCESS, nullptr, &next, &how)
                                   : RegOpenKeyExW(at, name.c_str(), 0, KEY_READ, &next);
        if (status != ERROR_SUCCESS) return status;
        key.reset(next);
        at = next;
        if (made && made->empty() && how == REG_CREATED_NEW_KEY) *made = path.substr(0, end);
        from = end + 1;
    }
    return ERROR_SUCCESS;
}

bool SetDacl(HKEY root, const std::string& path, const char* sddl) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    win32::UniqueRegKey key;
    const std::size_t cut = path.rfind('\\');
    if (OpenKey(root, path.substr(0, cut), key, false) != ERROR_SUCCESS ||
        !ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr))
        return false;
    HKEY raw = nullptr;
    const std::wstring name = W(path.substr(cut + 1));
    bool done = RegOpenKeyExW(key.get(), name.c_str(), 0, WRITE_DAC, &raw) == ERROR_SUCCESS;
    const win32::UniqueRegKey target(raw);
    done = done && RegSetKeySecurity(raw, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
    LocalFree(sd);
    return done;
}

struct Saved {  // a value as it was before the row
    HKEY root;
    std::string path;
    std::wstring name;
    bool present = false;
    DWORD type = 0;
    std::string data;
};

// The bytes a value is planted with, as the registry stores them.
std::pair<DWORD, std::string> Data(const scn::Value& v) {
    if (v.type == "dword")
        return {REG_DWORD, std::string(reinterpret_cast<const char*>(&v.dword), 4)};
    if (v.type == "binary") return {REG_BINARY, v.data};
    const std::wstring text = W(v.data);
    return {REG_SZ, std::string(reinterpret_cast<const char*>(text.c_str()),
                                (text.size() + 1) * sizeof(wchar_t))};
}

std::optional<std::pair<DWORD, std::string>> Query(HKEY root, const std::string& path,
                                                   const std::wstring& name) {
    win32::UniqueRegKey key;
    DWORD type = 0, size = 0;
    if (OpenKey(root, path, key, false) != ERROR_SUCCESS ||
        RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string data(size, '\0');
    RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                     &size);
    return std::make_pair(type, data);
}

bool Commit(const std::string& url, const std::string& kind) {
    char file[MAX_PATH] = {};
    if (!CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0)) return false;
    std::ofstream(file) << "<html/>";
    const DWORD type = kind == "cookie"    ? COOKIE_CACHE_ENTRY
                       : kind == "history" ? URLHISTORY_CACHE_ENTRY
                                           : NORMAL_CACHE_ENTRY;
    return CommitUrlCacheEntryA(url.c_str(), file, {}, {}, type, nullptr, 0, "htm", nullptr);
}
bool InCache(const std::string& url) {
    DWORD size = 0;
    return GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size) ||
           GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

// The visible dialogs of process `pid`, whatever their title.
std::vector<HWND> Boxes(DWORD pid) {
    std::pair<DWORD, std::vector<HWND>> search{pid, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<decltype(search)*>(param);
            DWORD owner = 0;
            char name[16] = {};
            GetWindowThreadProcessId(window, &owner);
            GetClassNameA(window, name, sizeof name);
            if (owner == s->first && IsWindowVisible(window) && std::string(name) == "#32770")
                s->second.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// The environment of this program with TMP and TEMP set to `temp`.
std::string Environment(const std::string& temp) {
    std::string block;
    const std::unique_ptr<char, decltype(&FreeEnvironmentStringsA)> own(GetEnvironmentStringsA(),
                                                                        FreeEnvironmentStringsA);
    for (const char* e = own.get(); *e; e += std::strlen(e) + 1) {
        if (_strnicmp(e, "TMP=", 4) != 0 && _strnicmp(e, "TEMP=", 5) != 0)
            block += std::string(e) + '\0';
    }
    return block + "TMP=" + temp + '\0' + "TEMP=" + temp + '\0' + '\0';
}

// One row on the real machine; the destructor puts back what it planted.
class Wash {
  public:
    explicit Wash(const scn::Row& row) : row_(row) {}
    ~Wash() { PutBack(); }

    void Plant();
    void Start();
    void Check();

  private:
    bool MakeFolders(const std::string& path);
    void CheckFile(const scn::File& f);
    void Expect(bool ok, Outcome outcome, int line, const std::string& what);
    void PutBack();
    std::string Parked(const std::string& carrier) const {
        return "C:\\e2e_park\\" + row_.name + "\\C" + carrier.substr(2);
    }

    const scn::Row& row_;
    std::vector<std::string> files_, folders_, keysMade_, carriers_;
    std::vector<Saved> saved_;
    std::vector<win32::UniqueFileHandle> locks_;
    std::vector<std::string> boxes_;
    std::optional<DWORD> exit_;
};

bool Wash::MakeFolders(const std::string& path) {
    for (std::size_t at = path.find('\\', 3); at != std::string::npos;
         at = path.find('\\', at + 1)) {
        if (CreateDirectoryW(Long(path.substr(0, at)).c_str(), nullptr))
            folders_.push_back(path.substr(0, at));
    }
    return true;
}

void Wash::Plant() {
    std::error_code ec;
    fs::remove_all(kRun, ec);  // a crashed earlier run may have left it
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    const fs::path bin = fs::path(own).parent_path();
    fs::create_directories(kRun + (row_.noCustomFolder ? "" : "\\Custom"), ec);
    ASSERT_TRUE(fs::copy_file(bin / "vantrixwash.exe", kRun + "\\vantrixwash.exe", ec));
    if (row_.hasIni) {
        std::ofstream(kRun + "\\Local.Ini", std::ios::binary) << row_.ini;
        if (row_.iniHidden)
            SetFileAttributesA((kRun + "\\Local.Ini").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    for (const auto& [name, text] : row_.lists)
        std::ofstream(kRun + "\\Custom\\" + name, std::ios::binary) << text;
    for (const scn::Drive& d : row_.drives) {
        const UINT kinds[] = {DRIVE_FIXED, DRIVE_REMOVABLE, DRIVE_CDROM, DRIVE_REMOTE,
                              DRIVE_RAMDISK};
        const char* names[] = {"fixed", "removable", "cdrom", "remote", "ramdisk"};
        const std::string root = std::string(1, d.letter) + ":\\";
        const auto at = std::find(std::begin(names), std::end(names), d.kind) - std::begin(names);
        ASSERT_EQ(GetDriveTypeA(root.c_str()), kinds[at]) << root << " is not staged";
    }
    // Links on C: move in with the folder C:\<first name> that holds them;
    // those on other drives are there for the whole suite.
    for (const scn::Link& l : row_.links) {
        const std::string carrier = l.path.substr(0, l.path.find('\\', 3));
        if (l.path[0] != 'C' ||
            std::find(carriers_.begin(), carriers_.end(), carrier) != carriers_.end())
            continue;
        ASSERT_TRUE(MoveFileA(Parked(carrier).c_str(), carrier.c_str())) << "line " << l.line;
        carriers_.push_back(carrier);
    }
    for (const scn::File& f : row_.files) {
        MakeFolders(f.path + (f.folder ? "\\" : ""));
        const std::wstring path = Long(f.path);
        std::string text = f.text;
        // The companion is a probe that reports how it was started.
        if (f.path.size() > 14 && f.path.substr(f.path.size() - 14) == "\\vantrixie.exe")
            text = Read((bin / "ie_companion_probe.exe").string());
        if (!f.folder) {
            std::ofstream(fs::path(path), std::ios::binary) << text;
            files_.push_back(f.path);
        }
        DWORD attr = 0;
        for (char c : f.attr) attr |= c == 'r' ? 1 : c == 'h' ? 2 : c == 's' ? 4 : 32;
        ASSERT_TRUE(Exists(f.path) && (!attr || SetFileAttributesW(path.c_str(), attr)))
            << "line " << f.line;
    }
    for (const scn::File& f : row_.files) {
        if (!f.locked) continue;
        locks_.emplace_back(
            CreateFileW(Long(f.path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(locks_.back()) << "line " << f.line;
    }
    for (const scn::Key& k : row_.keys) {
        win32::UniqueRegKey key;
        std::string made;
        ASSERT_EQ(OpenKey(RootOf(k.root), k.path, key, true, &made), ERROR_SUCCESS) << k.line;
        if (!made.empty()) keysMade_.push_back(k.root + "\\" + made);
    }
    for (const scn::Value& v : row_.values) {
        const HKEY root = RootOf(v.root);
        // Wine's WinINet copies this value over the one the row sets.
        const bool cookies =
            v.path.find("\\Explorer\\Shell Folders") != std::string::npos && v.name == "Cookies";
        const std::string user =
            std::string(v.path).replace(v.path.rfind('\\') + 1, 5, "User Shell");
        for (const std::string& path : cookies ? std::vector{user, v.path} : std::vector{v.path}) {
            Saved s{root, path, W(v.name), false, 0, {}};
            if (auto now = Query(root, path, s.name)) {
                s.present = true;
                std::tie(s.type, s.data) = *now;
            }
            saved_.push_back(s);
        }
        if (cookies) RegDeleteKeyValueW(root, W(user).c_str(), L"Cookies");
        win32::UniqueRegKey key;
        std::string made;
        ASSERT_EQ(OpenKey(root, v.path, key, true, &made), ERROR_SUCCESS) << v.line;
        if (!made.empty()) keysMade_.push_back(v.root + "\\" + made);
        const auto [type, data] = Data(v);
        ASSERT_EQ(RegSetValueExW(key.get(), W(v.name).c_str(), 0, type,
                                 reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS)
            << v.line;
    }
    for (const scn::Url& u : row_.cache) ASSERT_TRUE(Commit(u.url, u.kind)) << u.line;
    // Last: a denied key takes nothing more below it.
    for (const scn::Key& k : row_.keys)
        ASSERT_TRUE(!k.deny || SetDacl(RootOf(k.root), k.path, "D:P(D;;KA;;;WD)")) << k.line;
    ASSERT_TRUE(row_.history.empty()) << "Wine's URL history store keeps nothing";
}

void Wash::Start() {
    // Held while the run starts, the program's own single-instance claim.
    const win32::UniqueKernelHandle other(
        row_.ends == scn::Ends::kRefused
            ? CreateMutexA(nullptr, FALSE, win32::Win32Process::kInstanceMutexName)
            : nullptr);
    const win32::UniqueKernelHandle release(CreateEventA(nullptr, TRUE, FALSE, kProbeRelease));
    std::string environment = Environment(row_.temp);
    // C:\windows, where Wine starts a program with no folder of its own.
    win32::StartedProcess run = win32::StartProcess(
        kRun + "\\vantrixwash.exe", {},
        {-1, 0, row_.temp.empty() ? nullptr : environment.data(), "C:\\windows"});
    ASSERT_TRUE(run.process) << "cannot start the exe: " << GetLastError();
    const ULONGLONG deadline = GetTickCount64() + kRunMs;
    for (DWORD code = 0; GetTickCount64() < deadline && boxes_.size() < 20;) {
        if (WaitForSingleObject(run.process.get(), 20) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(run.process.get(), &code)) {
            exit_ = code;
            break;
        }
        for (HWND box : Boxes(run.id)) {
            char text[512] = {};
            GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
            boxes_.push_back(text);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            while (IsWindow(box) && GetTickCount64() < deadline) Sleep(10);
        }
    }
    if (!exit_) TerminateProcess(run.process.get(), 1);
    SetEvent(release.get());
}

void Wash::Expect(bool ok, Outcome outcome, int line, const std::string& what) {
    if (row_.hostile && outcome == Outcome::kStays) {
        ++tally.checked;
        tally.lost += !ok;
    }
    EXPECT_TRUE(ok) << row_.file << ":" << line << ": " << what;
}

void Wash::CheckFile(const scn::File& f) {
    const DWORD attr = GetFileAttributesW(Long(f.path).c_str());
    const bool there = attr != INVALID_FILE_ATTRIBUTES && !(attr & 16) == !f.folder;
    const bool same = f.folder || Read(f.path) == f.text || f.path.find("vantrixie") != f.path.npos;
    if (f.outcome != Outcome::kSet)
        Expect(f.outcome == Outcome::kGone      ? attr == INVALID_FILE_ATTRIBUTES
               : f.outcome == Outcome::kChanged ? there && !same
                                                : there && same,
               f.outcome, f.line, f.path);
}

void Wash::Check() {
    EXPECT_EQ(exit_, std::optional<DWORD>(0)) << "still running at the limit, or failed";
    EXPECT_EQ(boxes_, row_.boxes);
    locks_.clear();
    for (const scn::Key& k : row_.keys)
        if (k.deny) SetDacl(RootOf(k.root), k.path, "D:(A;;KA;;;WD)");
    for (const scn::File& f : row_.files) CheckFile(f);
    for (const scn::Link& l : row_.links)
        Expect(Exists(l.path) == (l.outcome != Outcome::kGone), l.outcome, l.line, l.path);
    for (const scn::Key& k : row_.keys) {
        win32::UniqueRegKey key;
        const bool there = OpenKey(RootOf(k.root), k.path, key, false) == ERROR_SUCCESS;
        if (k.outcome != Outcome::kSet)
            Expect(there == (k.outcome != Outcome::kGone), k.outcome, k.line, k.path);
    }
    for (const scn::Value& v : row_.values) {
        const auto now = Query(RootOf(v.root), v.path, W(v.name));
        const bool same = now && *now == Data(v);
        if (v.outcome != Outcome::kSet)
            Expect(v.outcome == Outcome::kGone      ? !now
                   : v.outcome == Outcome::kChanged ? now && !same
                                                    : same,
                   v.outcome, v.line, v.path + " " + v.name);
    }
    for (const scn::Url& u : row_.cache)
        Expect(InCache(u.url) == (u.outcome != Outcome::kGone), u.outcome, u.line, u.url);
    if (row_.hostile) ++tally.scenarios;
}

void Wash::PutBack() {
    locks_.clear();
    for (const scn::Key& k : row_.keys)
        if (k.deny) SetDacl(RootOf(k.root), k.path, "D:(A;;KA;;;WD)");
    for (const scn::Url& u : row_.cache) DeleteUrlCacheEntryA(u.url.c_str());
    for (auto s = saved_.rbegin(); s != saved_.rend(); ++s) {
        win32::UniqueRegKey key;
        if (!s->present) {
            if (OpenKey(s->root, s->path, key, false) == ERROR_SUCCESS)
                RegDeleteValueW(key.get(), s->name.c_str());
        } else if (OpenKey(s->root, s->path, key, true) == ERROR_SUCCESS) {
            RegSetValueExW(key.get(), s->name.c_str(), 0, s->type,
                           reinterpret_cast<const BYTE*>(s->data.data()),
                           static_cast<DWORD>(s->data.size()));
        }
    }
    for (auto k = keysMade_.rbegin(); k != keysMade_.rend(); ++k) {
        const std::size_t cut = k->find('\\');
        RegDeleteTreeW(RootOf(k->substr(0, cut)), W(k->substr(cut + 1)).c_str());
    }
    // Only what the row planted: nothing is entered that might be a link.
    for (auto f = files_.rbegin(); f != files_.rend(); ++f) {
        SetFileAttributesW(Long(*f).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(Long(*f).c_str());
    }
    for (auto f = folders_.rbegin(); f != folders_.rend(); ++f) {
        SetFileAttributesW(Long(*f).c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryW(Long(*f).c_str());
    }
    for (const std::string& carrier : carriers_) {
        EXPECT_TRUE(MoveFileA(carrier.c_str(), Parked(carrier).c_str())) << carrier << " is left";
    }
    std::error_code ec;
    fs::remove_all(kRun, ec);
}

std::vector<scn::Row> Rows() {
    std::vector<scn::Row> rows;
    try {
        for (scn::Row& row : scn::ParseFolder("C:\\e2e_scenarios", kRun))
            if (row.only != "sim") rows.push_back(std::move(row));
    } catch (const std::exception& e) {
        rows.resize(1);
        rows[0].name = "unreadable";
        rows[0].file = e.what();
    }
    return rows;
}

class Scenario : public ::testing::TestWithParam<scn::Row> {};

TEST_P(Scenario, Row) {
    ASSERT_NE(GetParam().name, "unreadable") << GetParam().file;
    Wash run(GetParam());
    ASSERT_NO_FATAL_FAILURE(run.Plant());
    ASSERT_NO_FATAL_FAILURE(run.Start());
    run.Check();
}

INSTANTIATE_TEST_SUITE_P(Wine, Scenario, ::testing::ValuesIn(Rows()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vw::e2e

namespace vw::scn {
// Test names carry the row; gtest need not dump its bytes.
void PrintTo(const Row& row, std::ostream* out) {
    *out << row.file << ":" << row.line;
}
}  // namespace vw::scn
