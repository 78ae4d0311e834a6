#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vw {

// The system reader's rules over an initialization file's text (UTF-8), for
// the readers that cannot leave a file to the system: the raw value of `key`
// in `section` (names matched without regard to case, blanks trimmed, quotes
// not yet removed); false when there is none.
bool FindProfileValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string& value);

// `value` as a buffer of `size` characters receives it: one enclosing pair of
// quotes dropped, the closing one only when the whole value fits, and cut to
// size - 1 UTF-16 units. Empty for a value that is no UTF-8.
std::string CopyProfileValue(std::string_view value, std::uint32_t size);

// The first `units` UTF-16 units of `utf8`; bytes that are no UTF-8 count
// one unit each.
std::string CutToUnits(std::string_view utf8, std::size_t units);

}  // namespace vw
