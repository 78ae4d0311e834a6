#include "text/profile_text.h"

#include <algorithm>

#include "text/name_case.h"
#include "text/utf8.h"

namespace vw {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

bool SameName(std::string_view a, std::string_view b) {
    return UpcaseName(a) == UpcaseName(b);
}

// The raw value (quotes not yet removed); empty when there is none.
std::string FindProfileValue(std::string_view text, std::string_view section,
                             std::string_view key) {
    // Every character the syntax knows is ASCII, so the UTF-8 text splits
    // bytewise and never inside a character.
    bool inSection = false;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        // A line starting with ";" is no comment to the system's reader: it
        // is a key like any other, whose name never matches one asked for.
        if (line.empty()) continue;
        if (line[0] == '[') {
            const auto close = line.rfind(']');
            if (close != std::string_view::npos) {
                inSection = SameName(Trim(line.substr(1, close - 1)), section);
                continue;
            }
        }
        if (!inSection) continue;
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        if (SameName(Trim(line.substr(0, eq)), key)) return std::string(Trim(line.substr(eq + 1)));
    }
    return {};
}

// As the system's reader copies a value into a buffer of maxUnits + 1 units,
// the last one kept for the terminator: it drops the closing quote only when
// that quote was within the buffer, and then one unit less is left.
std::string CopyValue(std::string_view value, std::size_t maxUnits) {
    std::u16string units;
    if (!Utf8ToUtf16(value, units)) return {};
    std::u16string_view v(units);
    const bool quoted = v.size() >= 2 && (v[0] == u'"' || v[0] == u'\'') && v.back() == v[0];
    if (quoted) v.remove_prefix(1);
    std::size_t n = std::min(v.size(), maxUnits);
    if (quoted && n > 0 && maxUnits + 1 >= v.size()) --n;
    return Utf16ToUtf8(v.substr(0, n));
}

}  // namespace

std::string ProfileValue(std::string_view text, std::string_view section, std::string_view key,
                         std::size_t maxUnits) {
    if (!IsPlatformName(section) || !IsPlatformName(key)) return {};
    return CopyValue(FindProfileValue(text, section, key), maxUnits);
}

std::string ProfileFileText(std::string_view bytes, std::string (*ansi)(std::string_view)) {
    if (HasUtf8Bom(bytes)) {
        const std::string_view rest = bytes.substr(3);
        std::u16string units;
        return Utf8ToUtf16(rest, units) ? std::string(rest) : ansi(rest);
    }
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        // Little-endian; an odd last byte is no unit.
        std::u16string units;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                           static_cast<unsigned char>(bytes[i + 1]) << 8);
        }
        return Utf16ToUtf8(units);
    }
    return ansi(bytes);
}

std::string CutToUnits(std::string_view utf8, std::size_t units) {
    std::u16string wide;
    if (!Utf8ToUtf16(utf8, wide)) return std::string(utf8.substr(0, units));
    if (wide.size() <= units) return std::string(utf8);
    return Utf16ToUtf8(std::u16string_view(wide).substr(0, units));
}

}  // namespace vw
