#include "registry/reg32.h"

#include <memory>
#include <utility>

#include "platform/run_error.h"
#include "text/name_case.h"

namespace vw {

namespace {

long QueryRegKeyInfo(RegKey& key, KeyInfo& info) {
    RegInfo read = key.QueryInfo();
    if (read.status == regstatus::kSuccess) info = read.info;
    return read.status;
}

long EnumRegSubKey(RegKey& key, std::uint32_t index, std::string& name) {
    RegName read = key.SubKeyName(index);
    name = std::move(read.name);
    return read.status;
}

// The tree deletion below a key already open, so that every level works
// relative to its parent's handle and no full path grows with the depth.
long DeleteKeyTree(Platform& p, RegKey& from, const std::string& path) {
    long status = regstatus::kSuccess;
    ResumeNext([&] { status = from.DeleteKey(path); });
    if (status != regstatus::kAccessDenied) return status;

    // Refused: on this platform that is what a key with subkeys gets.
    std::unique_ptr<RegKey> key;
    ResumeNext([&] {
        RegOpen open = from.OpenKey(path, kKeyAllSpecificRights);
        status = open.status;
        key = std::move(open.key);
    });
    if (status == regstatus::kAccessDenied) {
        ResumeNext([&] {
            p.ui.ShowMessage(kAccessDeniedText, kAccessDeniedTitle, mb::kOk | mb::kIconStop);
        });
        return status;
    }
    if (!key) return status;
    KeyInfo info;
    ResumeNext([&] { QueryRegKeyInfo(*key, info); });
    // From the highest index down, so the ones not visited keep their index.
    for (std::uint32_t i = info.SubKeyCount; i >= 1; --i) {
        ResumeNext([&] {
            std::string name;
            if (EnumRegSubKey(*key, i - 1, name) == regstatus::kSuccess) {
                DeleteKeyTree(p, *key, name);
            }
        });
    }
    // Once only: a key still refused now keeps refusing, and going round
    // again would never end.
    ResumeNext([&] { key->DeleteKey(""); });
    return status;
}

}  // namespace

void CreateRegKey(Platform& p, HKey root, const std::string& path) {
    p.registry.Root(root).CreateKey(path);
}

std::string GetRegString(Platform& p, HKey root, const std::string& path, const std::string& name) {
    const RegOpen open = p.registry.Root(root).OpenKey(path, 0);
    if (!open.key) return {};
    const RegRead value = open.key->QueryValue(name);
    if (value.status != regstatus::kSuccess || value.type != regtype::kSz) return {};
    return TrimAtNull(value.data);
}

void DeleteRegValue(Platform& p, HKey root, const std::string& path, const std::string& name) {
    const RegOpen open = p.registry.Root(root).OpenKey(path, 0);
    if (open.key) open.key->DeleteValue(name);
}

long DeleteRegKeyTree(Platform& p, HKey root, const std::string& path) {
    return DeleteKeyTree(p, p.registry.Root(root), path);
}

void DeleteRegValuesByPrefix(Platform& p, HKey root, const std::string& path,
                             const std::string& prefix) {
    try {
        const RegOpen open = p.registry.Root(root).OpenKey(path, kKeyAllSpecificRights);
        if (open.status != regstatus::kSuccess) return;
        RegKey& key = *open.key;
        const std::string wanted = UpcaseName(prefix);
        for (std::uint32_t index = 0;;) {
            const RegName value = key.ValueName(index);
            if (value.status != regstatus::kSuccess) return;
            const std::string name = TrimAtNull(value.name);
            // Upper-cased whole: a letter and its capital may differ in
            // length. A deleted value frees its index for the next one; one
            // that stays (refused) is stepped over.
            if (UpcaseName(name).compare(0, wanted.size(), wanted) != 0 ||
                key.DeleteValue(name) != regstatus::kSuccess) {
                ++index;
            }
        }
    } catch (const RunError&) {
        // Ends the walk; the key is closed on the way out.
    }
}

std::string ParseRootKey(const std::string& fullPath, std::string& below) {
    const auto slash = fullPath.find('\\');
    if (slash == std::string::npos) {
        throw RunError(errnum::kInvalidArgument, "Invalid procedure call or argument");
    }
    static const struct {
        const char* name;
        HKey root;
    } kRoots[] = {
        {"HKEY_CLASSES_ROOT", hkey::kClassesRoot},
        {"HKEY_CURRENT_USER", hkey::kCurrentUser},
        {"HKEY_LOCAL_MACHINE", hkey::kLocalMachine},
        {"HKEY_USERS", hkey::kUsers},
        {"HKEY_PERFORMANCE_DATA", hkey::kPerformanceData},
    };
    const std::string rootName = fullPath.substr(0, slash);
    for (const auto& r : kRoots) {
        if (rootName == r.name) {
            below = fullPath.substr(slash + 1);
            return std::to_string(r.root);
        }
    }
    return {};
}

std::string TrimAtNull(const std::string& s) {
    return s.substr(0, s.find('\0'));
}

}  // namespace vw
