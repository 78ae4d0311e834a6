#include "text/name_case.h"

#include <cctype>

#include "text/utf8.h"

namespace vw {

namespace {

// In blocks where capital and small letters alternate, the capital has the
// even (or, with `oddUpper`, the odd) code. Such a block's range below runs
// from its first small letter to its last.
char16_t Paired(char16_t c, bool oddUpper) {
    const bool odd = (c & 1) != 0;
    return odd == oddUpper ? c : static_cast<char16_t>(c - 1);
}

}  // namespace

char16_t UpcaseUnit(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 0x20);
    if (c == 0xFF) return 0x178;
    if ((c >= 0x101 && c <= 0x137) || (c >= 0x14B && c <= 0x177)) return Paired(c, false);
    if ((c >= 0x13A && c <= 0x148) || (c >= 0x17A && c <= 0x17E)) return Paired(c, true);
    // Greek.
    if (c == 0x3AC) return 0x386;
    if (c >= 0x3AD && c <= 0x3AF) return static_cast<char16_t>(c - 0x25);
    if (c == 0x3C2) return 0x3A3;  // final sigma
    if ((c >= 0x3B1 && c <= 0x3C1) || (c >= 0x3C3 && c <= 0x3CB)) {
        return static_cast<char16_t>(c - 0x20);
    }
    if (c == 0x3CC) return 0x38C;
    if (c == 0x3CD || c == 0x3CE) return static_cast<char16_t>(c - 0x3F);
    // Cyrillic.
    if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
    if ((c >= 0x461 && c <= 0x481) || (c >= 0x48B && c <= 0x4BF) || (c >= 0x4D1 && c <= 0x52F)) {
        return Paired(c, false);
    }
    if (c >= 0x4C2 && c <= 0x4CE) return Paired(c, true);
    // Armenian, full-width Latin.
    if (c >= 0x561 && c <= 0x586) return static_cast<char16_t>(c - 0x30);
    if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0x20);
    return c;
}

std::string UpcaseName(std::string_view name) {
    std::u16string units;
    if (!Utf8ToUtf16(name, units)) {
        std::string out(name);
        for (char& ch : out) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        return out;
    }
    for (char16_t& unit : units) unit = UpcaseUnit(unit);
    return Utf16ToUtf8(units);
}

}  // namespace vw
