#include "registry.h"

#include "platform/win32/handles.h"

namespace vw::e2e {

namespace {
win32::UniqueRegKey Open(HKEY root, const std::string& path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
    return win32::UniqueRegKey(key);
}
}  // namespace

bool SetString(HKEY root, const std::string& path, const std::string& name,
               const std::string& value) {
    HKEY raw = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    win32::UniqueRegKey key(raw);
    const auto* data = reinterpret_cast<const BYTE*>(value.c_str());
    return RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, data,
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

std::optional<std::string> GetString(HKEY root, const std::string& path, const std::string& name) {
    win32::UniqueRegKey key = Open(root, path, KEY_QUERY_VALUE);
    if (!key) return std::nullopt;
    char buffer[1024] = {};
    DWORD type = 0;
    DWORD size = sizeof(buffer) - 1;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    return std::string(buffer);
}

bool KeyExists(HKEY root, const std::string& path) {
    return static_cast<bool>(Open(root, path, KEY_READ));
}

void DeleteTree(HKEY root, const std::string& path) {
    RegDeleteTreeA(root, path.c_str());
}

void DeleteValue(HKEY root, const std::string& path, const std::string& name) {
    if (win32::UniqueRegKey key = Open(root, path, KEY_SET_VALUE))
        RegDeleteValueA(key.get(), name.c_str());
}

}  // namespace vw::e2e
