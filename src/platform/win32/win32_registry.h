#pragma once

#include <vector>

#include "platform/registry.h"

namespace vw::win32 {

// Forwards to the wide registry functions of advapi32, converting names and
// text between the seam's UTF-8 and UTF-16 at the edge.
class Win32Registry final : public Registry {
  public:
    long RegCreateKeyA(HKey key, const std::string& subKey, HKey& result) override;
    long RegOpenKeyA(HKey key, const std::string& subKey, HKey& result) override;
    long RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options,
                       std::uint32_t samDesired, HKey& result) override;
    long RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type, char* data,
                          std::uint32_t* dataSize) override;
    long RegDeleteValueA(HKey key, const std::string& valueName) override;
    long RegDeleteKeyA(HKey key, const std::string& subKey) override;
    long RegQueryInfoKeyA(HKey key, std::uint32_t* subKeys, std::uint32_t* maxSubKeyLen,
                          std::uint32_t* values, std::uint32_t* maxValueNameLen,
                          std::uint32_t* maxValueLen) override;
    long RegEnumKeyExA(HKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) override;
    long RegEnumValueA(HKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                       std::uint32_t* type, unsigned char* data, std::uint32_t* dataSize) override;
    long RegCloseKey(HKey key) override;

  private:
    // One buffer for every enumeration: a value name may take 16,384 units,
    // too much to clear again for each entry of a long walk.
    wchar_t* NameUnits(std::size_t count);
    std::vector<wchar_t> nameUnits_;
};

}  // namespace vw::win32
