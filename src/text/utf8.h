#pragma once

#include <string>
#include <string_view>

namespace vw {

// Names cross the platform seam as UTF-8. Windows names are sequences of
// UTF-16 units that need not be well-formed (a lone surrogate is a legal
// file name), so the mapping is the generalised form that also carries lone
// surrogates as three bytes each: every name the platform gives converts
// and converts back unchanged.

// Strict: overlong forms, values past U+10FFFF, truncated sequences and a
// pair of surrogates spelled as two three-byte sequences are refused (false,
// `out` unspecified), so no two byte strings ever name the same thing.
bool Utf8ToUtf16(std::string_view in, std::u16string& out);

std::string Utf16ToUtf8(std::u16string_view in);

// Text from an 8-bit code page whose bytes 0x80-0xFF are Latin-1: each byte
// becomes one character.
std::string Latin1ToUtf8(std::string_view in);

// UTF-8 without a NUL: a text the platform can take whole as a name or path
// (a NUL would end it early and name something else).
bool IsPlatformName(std::string_view text);

// True when `text` starts with the UTF-8 byte-order mark.
bool HasUtf8Bom(std::string_view text);

}  // namespace vw
