#pragma once

#include <string>
#include <string_view>

namespace vw {

// Names compare without regard to case the way Windows compares them: unit
// by unit through an upper-case table, not by locale. The table here holds
// the letters of the Latin, Greek, Cyrillic and Armenian scripts and the
// full-width Latin ones; other units (CJK, surrogates) stand for themselves.
char16_t UpcaseUnit(char16_t unit);

// `name` (UTF-8) with every letter upper-cased as above; bytes that are no
// UTF-8 are upper-cased as ASCII and kept otherwise.
std::string UpcaseName(std::string_view name);

}  // namespace vw
