#include "text/profile_text.h"

#include <algorithm>

#include "text/name_case.h"
#include "text/utf8.h"

namespace vw {

namespace {

// Ctrl-Z (a DOS end of file) is a blank to the system's reader too.
bool IsBlank(char c) {
    return (c >= '\t' && c <= '\r') || c == '\x1A' || c == ' ';
}

std::string_view Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// The reader keeps a line's names and value whole but reads them as C
// strings: each ends at its first NUL.
std::string_view UpToNul(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

bool SameName(std::string_view stored, std::string_view asked) {
    stored = UpToNul(stored);
    // Upper-casing keeps a name's length in bytes, so a long name costs no fold.
    return stored.size() == asked.size() && UpcaseName(stored) == UpcaseName(asked);
}

// The raw value (quotes not yet removed) of the first `key` in the first
// `section`: later sections of the same name are never read. Empty when
// there is none, or when that key is a line without "=".
std::string FindProfileValue(std::string_view text, std::string_view section,
                             std::string_view key) {
    // Every character the syntax knows is ASCII, so the UTF-8 text splits
    // bytewise and never inside a character.
    bool inSection = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        // A line starting with ";" is no comment to the system's reader: it
        // is a key like any other, whose name never matches one asked for.
        if (line.empty()) continue;
        if (line[0] == '[') {
            const auto close = line.rfind(']');
            if (close != std::string_view::npos) {
                if (inSection) return {};
                inSection = SameName(Trim(line.substr(1, close - 1)), section);
                continue;
            }
        }
        if (!inSection) continue;
        const auto eq = line.find('=');
        if (!SameName(Trim(line.substr(0, eq)), key)) continue;
        if (eq == std::string_view::npos) return {};
        return std::string(UpToNul(Trim(line.substr(eq + 1))));
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
    return Utf16ToUtf8(std::u16string_view(wide).substr(0, units));
}

}  // namespace vw
