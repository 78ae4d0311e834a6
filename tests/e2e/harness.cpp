#include "harness.h"
// Needs <windows.h>, which the harness brings.
#include <gtest/gtest.h>
#include <sddl.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>

#include "platform/win32/start_process.h"

namespace vw::e2e {

namespace fs = std::filesystem;

namespace {
constexpr char kRunMru[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

// A null root marks a file holding `value`.
struct Canary {
    HKEY root;
    std::string path, name, value;
};

std::vector<Canary> CanaryTable() {
    // Subkeys too, so a wash that only empties keys is caught as well.
    return {
        {HKEY_CURRENT_USER, "Software\\VantrixCanary", "Keep", "hkcu canary"},
        {HKEY_CURRENT_USER, "Software\\VantrixCanary\\Inner", "Keep", "hkcu inner"},
        {HKEY_LOCAL_MACHINE, "Software\\VantrixCanary", "Keep", "hklm canary"},
        {HKEY_LOCAL_MACHINE, "Software\\VantrixCanary\\Inner", "Keep", "hklm inner"},
        {HKEY_CURRENT_USER, kRunMru, "a", "notepad\\1"},
        {HKEY_CURRENT_USER, kRunMru, "b", "regedit\\1"},
        {HKEY_CURRENT_USER, kRunMru, "MRUList", "ba"},
        {nullptr, (fs::temp_directory_path() / "vantrix_canary.tmp").string(), "", "temp canary"},
        {nullptr, "C:\\vantrix_canary.txt", "", "root canary"},
        {HKEY_CURRENT_USER, kRecentDocs, "0", "report.txt"},
    };
}

std::optional<std::string> Read(const Canary& c) {
    if (!c.root) {
        std::ifstream in(c.path, std::ios::binary);
        if (!in) return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    char buffer[1024] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueA(c.root, c.path.c_str(), c.name.c_str(), RRF_RT_REG_SZ, nullptr, buffer,
                     &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(buffer);
}

struct FreeEnvironmentCloser {
    void operator()(char* strings) const noexcept { FreeEnvironmentStringsA(strings); }
};

// The test's own environment with `entries` (NAME=value) added or replaced.
std::string EnvironmentBlock(const std::vector<std::string>& entries) {
    const auto nameOf = [](const std::string& entry) {
        std::string name = entry.substr(0, entry.find('=', 1));  // "=C:=C:\" names "=C:"
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return name;
    };
    std::set<std::string> replaced;
    for (const std::string& entry : entries) replaced.insert(nameOf(entry));
    std::string block;
    const std::unique_ptr<char, FreeEnvironmentCloser> own(GetEnvironmentStringsA());
    for (const char* entry = own.get(); entry && *entry; entry += std::strlen(entry) + 1) {
        if (!replaced.count(nameOf(entry))) block += std::string(entry) + '\0';
    }
    for (const std::string& entry : entries) block += entry + '\0';
    return block + '\0';
}

void ClearCanaries() {
    for (const Canary& c : CanaryTable()) {
        if (c.root)
            RegDeleteKeyValueA(c.root, c.path.c_str(), c.name.c_str());
        else
            DeleteFileA(c.path.c_str());
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VantrixCanary");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\VantrixCanary");
    RegDeleteTreeA(HKEY_CURRENT_USER, kRecentDocs);
}
}  // namespace

bool UnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

bool Touch(const std::string& path, const std::string& text) {
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    return static_cast<bool>(std::ofstream(path, std::ios::binary) << text << std::flush);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

win32::UniqueFileHandle Lock(const std::string& path) {
    return win32::UniqueFileHandle(
        CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

std::vector<std::string> TempAt(const std::string& folder) {
    return {"TMP=" + folder, "TEMP=" + folder};
}

std::vector<std::string> ValueNames(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    win32::UniqueRegKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof(name);
        if (RegEnumValueA(key.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

SavedValue::SavedValue(HKEY root, std::string path, std::string name)
    : root_(root), path_(std::move(path)), name_(std::move(name)) {
    DWORD size = sizeof data_;
    present_ = RegGetValueA(root_, path_.c_str(), name_.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type_,
                            data_, &size) == ERROR_SUCCESS;
    size_ = size;
}

SavedValue::~SavedValue() {
    if (present_) {
        RegSetKeyValueA(root_, path_.c_str(), name_.c_str(), type_, data_, size_);
    } else {
        RegDeleteKeyValueA(root_, path_.c_str(), name_.c_str());
    }
}

std::string LocalIni(bool itemsOn, const std::string& flipped, bool skipMessages) {
    std::string text = "[Standard Options]\r\n";
    for (const char* item :
         {"FindHistory", "DocumentHistory", "RunHistory", "RecycleBin", "MediaPlayer", "TempFiles",
          "ScanTempFiles", "MSOfficeTrack", "IE", "Netscape"}) {
        const bool named =
            (" " + flipped + " ").find(" " + std::string(item) + " ") != std::string::npos;
        text += std::string(item) + (itemsOn != named ? "=1\r\n" : "=0\r\n");
    }
    return text + "[Wash Options]\r\nSkipAllCustomWashItems=1\r\nSkipMessages=" +
           (skipMessages ? "1" : "0") + "\r\n";
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY raw = nullptr;
    const bool exists = RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &raw) == ERROR_SUCCESS;
    win32::UniqueRegKey key(raw);
    return exists;
}

bool ValueExists(HKEY root, const std::string& path, const std::string& name) {
    return RegGetValueA(root, path.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

bool SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
              const std::string& data) {
    return RegSetKeyValueA(root, path.c_str(), name.c_str(), type, data.data(),
                           static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

namespace {
bool SetDacl(HKEY root, const std::string& path, const char* sddl) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd,
                                                              nullptr)) {
        return false;
    }
    HKEY raw = nullptr;
    bool done = RegOpenKeyExA(root, path.c_str(), 0, WRITE_DAC, &raw) == ERROR_SUCCESS;
    win32::UniqueRegKey key(raw);
    done = done && RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
    LocalFree(sd);
    return done;
}
}  // namespace

bool DenyAll(HKEY root, const std::string& path) {
    return SetDacl(root, path, "D:P(D;;KA;;;WD)");
}

void RemoveTree(HKEY root, const std::string& path) {
    // Every key of the tree may carry a denying descriptor.
    HKEY raw = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &raw) == ERROR_SUCCESS) {
        win32::UniqueRegKey key(raw);
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD size = sizeof(name);
            if (RegEnumKeyExA(key.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            SetDacl(root, path + "\\" + name, "D:(A;;KA;;;WD)");
        }
    }
    SetDacl(root, path, "D:(A;;KA;;;WD)");
    RegDeleteTreeA(root, path.c_str());
}

Canaries::Canaries() {
    ClearCanaries();
    for (const Canary& c : CanaryTable()) {
        const bool planted =
            c.root
                ? RegSetKeyValueA(c.root, c.path.c_str(), c.name.c_str(), REG_SZ, c.value.c_str(),
                                  static_cast<DWORD>(c.value.size() + 1)) == ERROR_SUCCESS
                : Touch(c.path, c.value);
        EXPECT_TRUE(planted) << "canary not planted: " << c.path << " " << c.name;
    }
}

Canaries::~Canaries() {
    ClearCanaries();
}

std::string Canaries::Damage() const {
    std::string damage;
    for (const Canary& c : CanaryTable()) {
        const auto now = Read(c);
        if (now != c.value) damage += c.path + " " + c.name + (now ? " changed\n" : " is gone\n");
    }
    return damage;
}

std::vector<HWND> BoxesOf(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char name[16] = {};
            GetClassNameA(window, name, sizeof(name));
            // A box found before it is shown may not hold its text yet.
            if (owner == s->pid && IsWindowVisible(window) && std::string(name) == "#32770") {
                s->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Text(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

Scenario::Scenario(const std::string& name, const std::string& ini, bool hiddenIni,
                   const std::vector<Beside>& beside, const std::vector<std::string>& environment)
    : folder_("C:\\e2e\\" + name) {
    std::error_code ec;
    fs::remove_all(folder_, ec);  // a crashed earlier run may have left it
    fs::create_directories(folder_, ec);
    const std::string exe = folder_ + "\\vantrixwash.exe", iniPath = folder_ + "\\Local.Ini";
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    if (!fs::copy_file(fs::path(own).parent_path() / "vantrixwash.exe", exe, ec)) {
        problem = "cannot copy the exe into " + folder_ + ": " + ec.message();
        return;
    }
    for (const Beside& file : beside) {
        // `as` may name a subfolder, such as Custom\list.txt.
        fs::create_directories(fs::path(folder_ + "\\" + file.as).parent_path(), ec);
        if (!fs::copy_file(fs::path(own).parent_path() / file.from, folder_ + "\\" + file.as, ec)) {
            problem = "cannot copy " + file.from + " into " + folder_ + ": " + ec.message();
            return;
        }
    }
    if (!Touch(iniPath, ini) ||
        (hiddenIni && !SetFileAttributesA(iniPath.c_str(), FILE_ATTRIBUTE_HIDDEN))) {
        problem = "cannot write " + iniPath;
        return;
    }
    // The working folder stays the test's own (C:\bin), so the exe has to find
    // Local.Ini beside itself rather than in the current folder.
    std::string block = EnvironmentBlock(environment);
    win32::StartedProcess started =
        win32::StartProcess(exe, {}, {-1, 0, environment.empty() ? nullptr : block.data()});
    if (!started.process) {
        problem = "cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")";
        return;
    }
    process_ = std::move(started.process);
    pid = started.id;
}

Scenario::~Scenario() {
    if (process_) {
        TerminateProcess(process_.get(), 1);  // fails harmlessly once it has exited
        WaitForSingleObject(process_.get(), 5000);
    }
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    RemoveDirectoryA("C:\\e2e");  // succeeds only once the last run is gone
}

std::optional<DWORD> Scenario::Wait(DWORD timeoutMs) {
    DWORD code = 0;
    if (!process_ || WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.get(), &code)) {
        return std::nullopt;
    }
    return code;
}

void Scenario::ExpectQuietEnd(DWORD timeoutMs) {
    ASSERT_EQ("", problem);
    const Outcome outcome = Watch(timeoutMs);
    EXPECT_FALSE(outcome.boxShown);
    EXPECT_EQ(outcome.exitCode, 0u);
}

Outcome Scenario::Watch(DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    Outcome outcome;
    while (!(outcome.exitCode = Wait(20)) && GetTickCount64() < deadline) {
        if ((outcome.boxShown = !BoxesOf(pid).empty())) break;
    }
    return outcome;
}

}  // namespace vw::e2e
