#include "canaries.h"

#include <windows.h>

#include <vector>

#include "files.h"
#include "registry.h"

namespace vw::e2e {

namespace {
constexpr char kRunMru[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

struct RegCanary {
    HKEY root;
    const char* rootName;
    const char* path;
    const char* name;
    const char* value;
};

// A subkey too, so a wash that only empties keys is caught as well.
const RegCanary kRegCanaries[] = {
    {HKEY_CURRENT_USER, "HKCU", "Software\\VantrixCanary", "Keep", "hkcu canary"},
    {HKEY_CURRENT_USER, "HKCU", "Software\\VantrixCanary\\Inner", "Keep", "hkcu inner"},
    {HKEY_LOCAL_MACHINE, "HKLM", "Software\\VantrixCanary", "Keep", "hklm canary"},
    {HKEY_LOCAL_MACHINE, "HKLM", "Software\\VantrixCanary\\Inner", "Keep", "hklm inner"},
    {HKEY_CURRENT_USER, "HKCU", kRunMru, "a", "notepad\\1"},
    {HKEY_CURRENT_USER, "HKCU", kRunMru, "b", "regedit\\1"},
    {HKEY_CURRENT_USER, "HKCU", kRunMru, "MRUList", "ba"},
};

struct FileCanary {
    std::string path;
    std::string content;
};

std::vector<FileCanary> FileCanaries() {
    char temp[MAX_PATH] = {};
    const DWORD n = GetTempPathA(MAX_PATH, temp);
    return {
        {std::string(temp, n) + "vantrix_canary.tmp", "temp canary\r\n"},
        {"C:\\vantrix_canary.txt", "root canary\r\n"},
    };
}

std::string Describe(const RegCanary& c) {
    return std::string(c.rootName) + "\\" + c.path + " " + c.name;
}
}  // namespace

Canaries::Canaries() {
    for (const RegCanary& c : kRegCanaries) {
        if (!SetString(c.root, c.path, c.name, c.value)) plantProblems_ += Describe(c) + "\n";
    }
    for (const FileCanary& f : FileCanaries()) {
        if (!WriteText(f.path, f.content)) plantProblems_ += f.path + "\n";
    }
}

Canaries::~Canaries() {
    DeleteTree(HKEY_CURRENT_USER, "Software\\VantrixCanary");
    DeleteTree(HKEY_LOCAL_MACHINE, "Software\\VantrixCanary");
    for (const char* name : {"a", "b", "MRUList"}) DeleteValue(HKEY_CURRENT_USER, kRunMru, name);
    for (const FileCanary& f : FileCanaries()) RemoveFile(f.path);
}

std::string Canaries::Damage() const {
    std::string damage;
    for (const RegCanary& c : kRegCanaries) {
        const auto value = GetString(c.root, c.path, c.name);
        if (!value) {
            damage += Describe(c) + " is gone\n";
        } else if (*value != c.value) {
            damage += Describe(c) + " reads \"" + *value + "\"\n";
        }
    }
    for (const FileCanary& f : FileCanaries()) {
        const auto content = ReadText(f.path);
        if (!content) {
            damage += f.path + " is gone\n";
        } else if (*content != f.content) {
            damage += f.path + " was changed\n";
        }
    }
    return damage;
}

}  // namespace vw::e2e
