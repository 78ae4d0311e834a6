#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <cstring>
#include <utility>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace vw::win32 {

namespace {

// The registry's own limits in UTF-16 units, NUL included.
constexpr DWORD kKeyNameUnits = 256;
constexpr DWORD kValueNameUnits = 16384;

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The handle itself when it is one of the predefined roots, else null.
HKEY ToRoot(HKEY key) {
    const auto value = reinterpret_cast<std::intptr_t>(key);
    return value >= hkey::kClassesRoot && value <= hkey::kPerformanceData ? key : HKEY{};
}

class Win32Key final : public RegKey {
  public:
    // A root: the registry's, never closed.
    explicit Win32Key(HKEY root) : key_(root) {}
    // A key opened here, closed with this object.
    explicit Win32Key(UniqueRegKey owned) : key_(owned.get()), owned_(std::move(owned)) {}

    RegOpen OpenKey(const std::string& path, std::uint32_t rights) override {
        std::wstring wide;
        if (!ToWide(path, wide)) return {ERROR_FILE_NOT_FOUND, nullptr};
        // RegOpenKey asks for MAXIMUM_ALLOWED; through the Ex form an empty
        // path gives a handle of its own rather than this one back.
        UniqueRegKey opened;
        const LSTATUS status =
            ::RegOpenKeyExW(key_, wide.c_str(), 0, rights ? rights : MAXIMUM_ALLOWED, opened.put());
        return Opened(status, std::move(opened));
    }
    RegOpen CreateKey(const std::string& path) override {
        std::wstring wide;
        if (!ToWide(path, wide)) return {ERROR_INVALID_PARAMETER, nullptr};
        // What RegCreateKey asks for, with a handle of its own for "" too.
        UniqueRegKey opened;
        const LSTATUS status = ::RegCreateKeyExW(key_, wide.c_str(), 0, nullptr, 0, MAXIMUM_ALLOWED,
                                                 nullptr, opened.put(), nullptr);
        return Opened(status, std::move(opened));
    }
    RegRead QueryValue(const std::string& name) override {
        std::wstring wide;
        if (!ToWide(name, wide)) return {ERROR_FILE_NOT_FOUND, REG_NONE, {}};
        return Read(wide.c_str());
    }
    long DeleteValue(const std::string& name) override {
        std::wstring wide;
        if (!ToWide(name, wide)) return ERROR_FILE_NOT_FOUND;
        return ::RegDeleteValueW(key_, wide.c_str());
    }
    long DeleteKey(const std::string& path) override {
        std::wstring wide;
        if (!ToWide(path, wide)) return ERROR_FILE_NOT_FOUND;
        return ::RegDeleteKeyW(key_, wide.c_str());
    }
    long ProbeDeleteKey(const std::string& path) override {
        std::wstring wide;
        if (!ToWide(path, wide)) return ERROR_FILE_NOT_FOUND;
        if (ToRoot(key_) && wide.find_first_not_of(L'\\') == std::wstring::npos) {
            return ERROR_ACCESS_DENIED;  // a root is never deleted
        }
        UniqueRegKey probe;
        return ::RegOpenKeyExW(key_, wide.c_str(), 0, DELETE, probe.put());
    }
    RegInfo QueryInfo() override {
        DWORD keys = 0, values = 0;
        const LSTATUS status =
            ::RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values,
                               nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) return {status, {}};
        // DWORD is unsigned long here, distinct from std::uint32_t.
        return {status, {static_cast<std::uint32_t>(keys), static_cast<std::uint32_t>(values)}};
    }
    RegName SubKeyName(std::uint32_t index) override {
        DWORD length = kKeyNameUnits;
        const LSTATUS status = ::RegEnumKeyExW(key_, index, Names(length), &length, nullptr,
                                               nullptr, nullptr, nullptr);
        return Named(status, length);
    }
    RegName ValueName(std::uint32_t index) override {
        DWORD length = kValueNameUnits;
        const LSTATUS status = ::RegEnumValueW(key_, index, Names(length), &length, nullptr,
                                               nullptr, nullptr, nullptr);
        return Named(status, length);
    }

  private:
    static RegOpen Opened(LSTATUS status, UniqueRegKey opened) {
        if (status != ERROR_SUCCESS) return {status, nullptr};
        return {status, std::make_unique<Win32Key>(std::move(opened))};
    }

    // A value's type and bytes as stored; text becomes UTF-8.
    RegRead Read(const wchar_t* name) {
        for (;;) {
            DWORD type = REG_NONE, size = 0;
            LSTATUS status = ::RegQueryValueExW(key_, name, nullptr, &type, nullptr, &size);
            if (status != ERROR_SUCCESS) return {status, REG_NONE, {}};
            std::string bytes(size, '\0');
            status = ::RegQueryValueExW(key_, name, nullptr, &type,
                                        reinterpret_cast<BYTE*>(bytes.data()), &size);
            // Grown in between: ask again.
            if (status == ERROR_MORE_DATA) continue;
            if (status != ERROR_SUCCESS) return {status, REG_NONE, {}};
            bytes.resize(size);
            if (!IsText(type)) return {status, type, std::move(bytes)};
            std::wstring units(size / sizeof(wchar_t), L'\0');
            std::memcpy(units.data(), bytes.data(), units.size() * sizeof(wchar_t));
            return {status, type, FromWide(units)};
        }
    }

    // One buffer for every name this key enumerates: a value name may take
    // 16,384 units, too much to clear again for each entry of a long walk.
    wchar_t* Names(DWORD units) {
        if (names_.size() < units) names_.resize(units);
        return names_.data();
    }
    RegName Named(LSTATUS status, DWORD length) {
        if (status != ERROR_SUCCESS) return {status, {}};
        return {status, FromWide(std::wstring_view(names_.data(), length))};
    }

    HKEY key_;
    UniqueRegKey owned_;
    std::vector<wchar_t> names_;
};

// Roots travel sign-extended, exactly as <windows.h> defines them.
HKEY ToHkey(HKey key) {
    return reinterpret_cast<HKEY>(key);
}

}  // namespace

Win32Registry::Win32Registry() {
    for (HKey root = hkey::kClassesRoot; root <= hkey::kPerformanceData; ++root) {
        roots_.push_back(std::make_unique<Win32Key>(ToHkey(root)));
    }
    // The platform answers a null handle with 6 to every call.
    roots_.push_back(std::make_unique<Win32Key>(HKEY{}));
}

Win32Registry::~Win32Registry() = default;

RegKey& Win32Registry::Root(HKey root) {
    return *roots_[RootSlot(root)];
}

}  // namespace vw::win32
