#pragma once

#include <cstdint>
#include <string>

namespace vw {

// The platform's initialization-file reader, shaped after GetPrivateProfileStringA.
class ProfileReader {
  public:
    virtual ~ProfileReader() = default;

    // Copies the value of `key` in `section` of `file` (or `defaultValue`
    // when the file, section or key is missing) into `buffer`, cut to
    // size - 1 characters and NUL-terminated; returns the characters copied
    // without the NUL. Section and key names match without regard to case,
    // the value is trimmed of blanks and one enclosing pair of single or
    // double quotes. An empty `file` yields 0 characters: this program never
    // falls back to a system-wide settings file. Never raises.
    virtual std::uint32_t GetPrivateProfileStringA(const std::string& section,
                                                   const std::string& key,
                                                   const std::string& defaultValue, char* buffer,
                                                   std::uint32_t size, const std::string& file) = 0;
};

}  // namespace vw
