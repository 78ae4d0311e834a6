#pragma once

#include <cstdint>
#include <string>

namespace vw {

// The platform's initialization-file reader, shaped after
// GetPrivateProfileStringA. Strings are UTF-8; the Win32 backend calls the
// wide form (GetPrivateProfileStringW).
class ProfileReader {
  public:
    virtual ~ProfileReader() = default;

    // The value of `key` in `section` of `file` (or `defaultValue` when the
    // file, section or key is missing) as a buffer of `size` characters
    // would hold it: at most size - 1 UTF-16 units, whatever its length in
    // UTF-8 (a cut may leave half a surrogate pair, carried as three bytes).
    // Section and key names match without regard to case, the value is
    // trimmed of blanks and of one enclosing pair of single or double quotes
    // (the closing one only when the whole value fits).
    //
    // A file that starts with the UTF-8 byte-order mark is read as UTF-8
    // (as ANSI after the mark when it is no UTF-8 throughout), one that
    // starts with the UTF-16 mark as UTF-16, any other in the system's ANSI
    // code page. An empty `file` yields the empty string: this program never
    // falls back to a system-wide settings file; so does a name, key or
    // default that is no UTF-8 or holds a NUL. Never raises.
    virtual std::string GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                                 const std::string& defaultValue,
                                                 std::uint32_t size, const std::string& file) = 0;
};

}  // namespace vw
