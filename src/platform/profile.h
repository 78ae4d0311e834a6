#pragma once

#include <cstdint>
#include <string>

namespace vw {

// The platform's initialization-file reader. Strings are UTF-8.
class ProfileReader {
  public:
    virtual ~ProfileReader() = default;

    // The value of `key` in `section` of `file`, cut to its first `maxUnits`
    // UTF-16 units whatever its length in UTF-8 (a cut may leave half a
    // surrogate pair, carried as three bytes); the empty string when the
    // file, section or key is missing. Section and key names match without
    // regard to case; the value is trimmed of blanks and of one enclosing
    // pair of single or double quotes. The closing quote is seen only when
    // it fits: a quoted value exactly `maxUnits` long loses its last unit,
    // as the system's reader does.
    //
    // A file that starts with the UTF-8 byte-order mark is read as UTF-8
    // (as ANSI after the mark when it is no UTF-8 throughout), one that
    // starts with the UTF-16 mark as UTF-16, any other in the system's ANSI
    // code page. An empty `file` gives the empty string: this program never
    // falls back to a system-wide settings file; so does a name or key that
    // is no UTF-8 or holds a NUL. Returns a value, never raises.
    virtual std::string ReadString(const std::string& file, const std::string& section,
                                   const std::string& key, std::uint16_t maxUnits) = 0;
};

}  // namespace vw
