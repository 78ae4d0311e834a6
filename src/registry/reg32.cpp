#include "registry/reg32.h"

#include <vector>

#include "platform/run_error.h"
#include "registry/open_reg_key.h"
#include "text/name_case.h"

namespace vw {

namespace {

// The registry's own limits, NUL included: key names have up to 255 UTF-16
// units, value names up to 16,383; in UTF-8 a unit takes at most 3 bytes.
constexpr std::uint32_t kKeyNameCapacity = 256 * 3;
constexpr std::uint32_t kValueNameCapacity = 16384 * 3;

struct KeyInfo {
    std::uint32_t SubKeyCount = 0;
    std::uint32_t MaxSubKeyLen = 0;
    std::uint32_t ValueCount = 0;
    std::uint32_t MaxValueNameLen = 0;
    std::uint32_t MaxValueLen = 0;
};

long QueryRegKeyInfo(Registry& reg, HKey key, KeyInfo& info) {
    return reg.RegQueryInfoKeyA(key, &info.SubKeyCount, &info.MaxSubKeyLen, &info.ValueCount,
                                &info.MaxValueNameLen, &info.MaxValueLen);
}

long EnumRegSubKey(Registry& reg, HKey key, std::uint32_t index, std::string& name) {
    std::vector<char> buffer(kKeyNameCapacity);
    auto size = static_cast<std::uint32_t>(buffer.size());
    const long status = reg.RegEnumKeyExA(key, index, buffer.data(), &size);
    name = status == regstatus::kSuccess ? std::string(buffer.data(), size) : std::string();
    return status;
}

long DeleteValue(Registry& reg, HKey root, const std::string& path, const std::string& name) {
    OpenRegKey key(reg, root);
    reg.RegOpenKeyA(root, path, key.put());
    return reg.RegDeleteValueA(key.get(), name);
}

}  // namespace

void CreateRegKey(Platform& p, HKey root, const std::string& path) {
    OpenRegKey key(p.registry, root);
    p.registry.RegCreateKeyA(root, path, key.put());
}

std::string GetRegString(Platform& p, HKey root, const std::string& path, const std::string& name) {
    Registry& reg = p.registry;
    OpenRegKey key(reg, root);
    reg.RegOpenKeyA(root, path, key.put());
    std::uint32_t type = regtype::kNone;
    std::uint32_t size = 0;
    reg.RegQueryValueExA(key.get(), name, &type, nullptr, &size);
    if (type != regtype::kSz) return {};
    std::string buffer(size, ' ');
    if (reg.RegQueryValueExA(key.get(), name, nullptr, buffer.data(), &size) !=
        regstatus::kSuccess) {
        return {};
    }
    return TrimAtNull(buffer);
}

void DeleteRegValue(Platform& p, HKey root, const std::string& path, const std::string& name) {
    DeleteValue(p.registry, root, path, name);
}

long DeleteRegKeyTree(Platform& p, HKey root, const std::string& path) {
    Registry& reg = p.registry;
    long status = regstatus::kSuccess;
    ResumeNext([&] { status = reg.RegDeleteKeyA(root, path); });
    if (status != regstatus::kAccessDenied) return status;

    // Refused: on this platform that is what a key with subkeys gets.
    OpenRegKey key(reg, root);
    ResumeNext(
        [&] { status = reg.RegOpenKeyExA(root, path, 0, kKeyAllSpecificRights, key.put()); });
    if (status == regstatus::kAccessDenied) {
        ResumeNext([&] {
            p.ui.ShowMessage(kAccessDeniedText, kAccessDeniedTitle, mb::kOk | mb::kIconStop);
        });
        return status;
    }
    KeyInfo info;
    ResumeNext([&] { QueryRegKeyInfo(reg, key.get(), info); });
    // From the highest index down, so the ones not visited keep their index.
    for (std::uint32_t i = info.SubKeyCount; i >= 1; --i) {
        ResumeNext([&] {
            std::string name;
            if (EnumRegSubKey(reg, key.get(), i - 1, name) == regstatus::kSuccess) {
                DeleteRegKeyTree(p, key.get(), name);
            }
        });
    }
    // Once only: a key still refused now keeps refusing, and going round
    // again would never end.
    ResumeNext([&] { reg.RegDeleteKeyA(key.get(), ""); });
    return status;
}

void DeleteRegValuesByPrefix(Platform& p, HKey root, const std::string& path,
                             const std::string& prefix) {
    Registry& reg = p.registry;
    try {
        OpenRegKey key(reg, root);
        if (reg.RegOpenKeyExA(root, path, 0, kKeyAllSpecificRights, key.put()) !=
            regstatus::kSuccess) {
            return;
        }
        const std::string wanted = UpcaseName(prefix);
        std::vector<char> buffer(kValueNameCapacity);
        for (std::uint32_t index = 0;;) {
            auto size = static_cast<std::uint32_t>(buffer.size());
            // The data is never needed, so no value is too large to pass.
            if (reg.RegEnumValueA(key.get(), index, buffer.data(), &size, nullptr, nullptr,
                                  nullptr) != regstatus::kSuccess) {
                return;
            }
            const std::string name = TrimAtNull(std::string(buffer.data(), size));
            // Upper-cased whole: a letter and its capital may differ in
            // length. A deleted value frees its index for the next one; one
            // that stays (refused) is stepped over.
            if (UpcaseName(name).compare(0, wanted.size(), wanted) != 0 ||
                DeleteValue(reg, root, path, name) != regstatus::kSuccess) {
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
