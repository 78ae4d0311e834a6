#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/win32/wide.h"

namespace vw::win32 {

namespace {

// The registry's own limits in UTF-16 units, NUL included.
constexpr DWORD kKeyNameUnits = 256;
constexpr DWORD kValueNameUnits = 16384;

// Roots travel sign-extended, exactly as <windows.h> defines them.
HKEY ToHkey(HKey key) {
    return reinterpret_cast<HKEY>(key);
}

// DWORD and std::uint32_t are distinct types under mingw-w64 (unsigned long).
class DwordIo {
  public:
    explicit DwordIo(std::uint32_t* p) : p_(p), value_(p ? *p : 0) {}
    ~DwordIo() {
        if (p_) *p_ = static_cast<std::uint32_t>(value_);
    }
    DwordIo(const DwordIo&) = delete;
    DwordIo& operator=(const DwordIo&) = delete;
    DWORD* get() { return p_ ? &value_ : nullptr; }

  private:
    std::uint32_t* p_;
    DWORD value_;
};

long Opened(LSTATUS status, HKEY opened, HKey& result) {
    result = status == ERROR_SUCCESS ? reinterpret_cast<HKey>(opened) : 0;
    return status;
}

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// A value's type and bytes as stored; text becomes UTF-8.
LSTATUS ReadValue(HKEY key, const wchar_t* name, DWORD& type, std::string& bytes) {
    for (;;) {
        DWORD size = 0;
        LSTATUS status = ::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS) return status;
        std::vector<BYTE> buffer(size);
        status = ::RegQueryValueExW(key, name, nullptr, &type, buffer.data(), &size);
        // Grown in between: ask again.
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return status;
        if (IsText(type)) {
            std::wstring units(size / sizeof(wchar_t), L'\0');
            std::memcpy(units.data(), buffer.data(), units.size() * sizeof(wchar_t));
            bytes = FromWide(units);
        } else {
            bytes.assign(reinterpret_cast<const char*>(buffer.data()), size);
        }
        return ERROR_SUCCESS;
    }
}

long CopyData(const std::string& bytes, void* data, std::uint32_t* dataSize) {
    if (!dataSize) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    if (data && *dataSize < needed) {
        *dataSize = needed;
        return ERROR_MORE_DATA;
    }
    if (data) std::memcpy(data, bytes.data(), bytes.size());
    *dataSize = needed;
    return ERROR_SUCCESS;
}

long QueryValue(HKEY key, const wchar_t* name, std::uint32_t* type, void* data,
                std::uint32_t* dataSize) {
    DWORD t = REG_NONE;
    std::string bytes;
    const LSTATUS status = ReadValue(key, name, t, bytes);
    if (status != ERROR_SUCCESS) return status;
    if (type) *type = t;
    return CopyData(bytes, data, dataSize);
}

// A name the platform gave into the caller's UTF-8 buffer; one that does not
// fit leaves the buffer and the size alone, as the platform does.
long CopyName(const wchar_t* units, DWORD length, char* name, std::uint32_t* nameSize) {
    if (!nameSize) return ERROR_INVALID_PARAMETER;
    const std::string utf8 = FromWide(std::wstring_view(units, length));
    if (utf8.size() >= *nameSize) return ERROR_MORE_DATA;
    if (name) std::memcpy(name, utf8.c_str(), utf8.size() + 1);
    *nameSize = static_cast<std::uint32_t>(utf8.size());
    return ERROR_SUCCESS;
}

}  // namespace

long Win32Registry::RegCreateKeyA(HKey key, const std::string& subKey, HKey& result) {
    result = 0;
    std::wstring wide;
    if (!ToWide(subKey, wide)) return ERROR_INVALID_PARAMETER;
    HKEY opened = nullptr;
    const LSTATUS status = ::RegCreateKeyW(ToHkey(key), wide.c_str(), &opened);
    return Opened(status, opened, result);
}

long Win32Registry::RegOpenKeyA(HKey key, const std::string& subKey, HKey& result) {
    result = 0;
    std::wstring wide;
    if (!ToWide(subKey, wide)) return ERROR_FILE_NOT_FOUND;
    HKEY opened = nullptr;
    const LSTATUS status = ::RegOpenKeyW(ToHkey(key), wide.c_str(), &opened);
    return Opened(status, opened, result);
}

long Win32Registry::RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options,
                                  std::uint32_t samDesired, HKey& result) {
    result = 0;
    std::wstring wide;
    if (!ToWide(subKey, wide)) return ERROR_FILE_NOT_FOUND;
    HKEY opened = nullptr;
    const LSTATUS status = ::RegOpenKeyExW(ToHkey(key), wide.c_str(), options, samDesired, &opened);
    return Opened(status, opened, result);
}

long Win32Registry::RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type,
                                     char* data, std::uint32_t* dataSize) {
    std::wstring wide;
    if (!ToWide(valueName, wide)) return ERROR_FILE_NOT_FOUND;
    return QueryValue(ToHkey(key), wide.c_str(), type, data, dataSize);
}

long Win32Registry::RegDeleteValueA(HKey key, const std::string& valueName) {
    std::wstring wide;
    if (!ToWide(valueName, wide)) return ERROR_FILE_NOT_FOUND;
    return ::RegDeleteValueW(ToHkey(key), wide.c_str());
}

long Win32Registry::RegDeleteKeyA(HKey key, const std::string& subKey) {
    std::wstring wide;
    if (!ToWide(subKey, wide)) return ERROR_FILE_NOT_FOUND;
    return ::RegDeleteKeyW(ToHkey(key), wide.c_str());
}

long Win32Registry::RegQueryInfoKeyA(HKey key, std::uint32_t* subKeys, std::uint32_t* maxSubKeyLen,
                                     std::uint32_t* values, std::uint32_t* maxValueNameLen,
                                     std::uint32_t* maxValueLen) {
    DwordIo a(subKeys), b(maxSubKeyLen), c(values), d(maxValueNameLen), e(maxValueLen);
    DWORD maxClassLen = 0, securityDescriptor = 0;
    FILETIME lastWrite{};
    return ::RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr, a.get(), b.get(),
                              &maxClassLen, c.get(), d.get(), e.get(), &securityDescriptor,
                              &lastWrite);
}

wchar_t* Win32Registry::NameUnits(std::size_t count) {
    if (nameUnits_.size() < count) nameUnits_.resize(count);
    return nameUnits_.data();
}

long Win32Registry::RegEnumKeyExA(HKey key, std::uint32_t index, char* name,
                                  std::uint32_t* nameSize) {
    wchar_t* const units = NameUnits(kKeyNameUnits);
    DWORD length = kKeyNameUnits;
    FILETIME lastWrite{};
    const LSTATUS status =
        ::RegEnumKeyExW(ToHkey(key), index, units, &length, nullptr, nullptr, nullptr, &lastWrite);
    if (status != ERROR_SUCCESS) return status;
    return CopyName(units, length, name, nameSize);
}

long Win32Registry::RegEnumValueA(HKey key, std::uint32_t index, char* name,
                                  std::uint32_t* nameSize, std::uint32_t* type, unsigned char* data,
                                  std::uint32_t* dataSize) {
    wchar_t* const units = NameUnits(kValueNameUnits);
    DWORD length = kValueNameUnits;
    const LSTATUS status =
        ::RegEnumValueW(ToHkey(key), index, units, &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) return status;
    const long copied = CopyName(units, length, name, nameSize);
    if (copied != ERROR_SUCCESS || (!type && !data && !dataSize)) return copied;
    // Text is converted whole, so the data is read by the name just found.
    return QueryValue(ToHkey(key), units, type, data, dataSize);
}

long Win32Registry::RegCloseKey(HKey key) {
    return ::RegCloseKey(ToHkey(key));
}

}  // namespace vw::win32
