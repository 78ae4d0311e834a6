#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vw {

// The system reader's rules over an initialization file's text (UTF-8), for
// the readers that cannot leave a file to the system: the value of `key` in
// `section` (names matched without regard to case, blanks trimmed, one
// enclosing pair of quotes dropped) cut to `maxUnits` UTF-16 units, as
// ProfileReader::ReadString tells; empty when there is none, or for a name
// that is no UTF-8 or holds a NUL.
std::string ProfileValue(std::string_view text, std::string_view section, std::string_view key,
                         std::size_t maxUnits);

// An initialization file's bytes as text (UTF-8), decoded as the system's
// reader decodes them: after the UTF-8 mark as UTF-8 (through `ansi` when it
// is none), after the UTF-16 mark as UTF-16, anything else through `ansi`,
// the machine's ANSI code page.
std::string ProfileFileText(std::string_view bytes, std::string (*ansi)(std::string_view));

// The first `units` UTF-16 units of `utf8`; bytes that are no UTF-8 count
// one unit each.
std::string CutToUnits(std::string_view utf8, std::size_t units);

}  // namespace vw
