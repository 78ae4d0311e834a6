#include "platform/win32/win32_registry.h"

#include <windows.h>

namespace vw::win32 {

namespace {

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

}  // namespace

long Win32Registry::RegCreateKeyA(HKey key, const std::string& subKey, HKey& result) {
    HKEY opened = nullptr;
    const LSTATUS status = ::RegCreateKeyA(ToHkey(key), subKey.c_str(), &opened);
    return Opened(status, opened, result);
}

long Win32Registry::RegOpenKeyA(HKey key, const std::string& subKey, HKey& result) {
    HKEY opened = nullptr;
    const LSTATUS status = ::RegOpenKeyA(ToHkey(key), subKey.c_str(), &opened);
    return Opened(status, opened, result);
}

long Win32Registry::RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options,
                                  std::uint32_t samDesired, HKey& result) {
    HKEY opened = nullptr;
    const LSTATUS status =
        ::RegOpenKeyExA(ToHkey(key), subKey.c_str(), options, samDesired, &opened);
    return Opened(status, opened, result);
}

long Win32Registry::RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type,
                                     char* data, std::uint32_t* dataSize) {
    DwordIo t(type), size(dataSize);
    return ::RegQueryValueExA(ToHkey(key), valueName.c_str(), nullptr, t.get(),
                              reinterpret_cast<BYTE*>(data), size.get());
}

long Win32Registry::RegDeleteValueA(HKey key, const std::string& valueName) {
    return ::RegDeleteValueA(ToHkey(key), valueName.c_str());
}

long Win32Registry::RegDeleteKeyA(HKey key, const std::string& subKey) {
    return ::RegDeleteKeyA(ToHkey(key), subKey.c_str());
}

long Win32Registry::RegQueryInfoKeyA(HKey key, std::uint32_t* subKeys, std::uint32_t* maxSubKeyLen,
                                     std::uint32_t* values, std::uint32_t* maxValueNameLen,
                                     std::uint32_t* maxValueLen) {
    DwordIo a(subKeys), b(maxSubKeyLen), c(values), d(maxValueNameLen), e(maxValueLen);
    DWORD maxClassLen = 0, securityDescriptor = 0;
    FILETIME lastWrite{};
    return ::RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, a.get(), b.get(),
                              &maxClassLen, c.get(), d.get(), e.get(), &securityDescriptor,
                              &lastWrite);
}

long Win32Registry::RegEnumKeyExA(HKey key, std::uint32_t index, char* name,
                                  std::uint32_t* nameSize) {
    DwordIo size(nameSize);
    FILETIME lastWrite{};
    return ::RegEnumKeyExA(ToHkey(key), index, name, size.get(), nullptr, nullptr, nullptr,
                           &lastWrite);
}

long Win32Registry::RegEnumValueA(HKey key, std::uint32_t index, char* name,
                                  std::uint32_t* nameSize, std::uint32_t* type, unsigned char* data,
                                  std::uint32_t* dataSize) {
    DwordIo size(nameSize), t(type), dsize(dataSize);
    return ::RegEnumValueA(ToHkey(key), index, name, size.get(), nullptr, t.get(), data,
                           dsize.get());
}

long Win32Registry::RegCloseKey(HKey key) {
    return ::RegCloseKey(ToHkey(key));
}

}  // namespace vw::win32
