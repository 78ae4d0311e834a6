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

}  // namespace

bool FindProfileValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string& value) {
    // Every character the syntax knows is ASCII, so the UTF-8 text splits
    // bytewise and never inside a character.
    bool inSection = false;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == ';') continue;
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
        if (SameName(Trim(line.substr(0, eq)), key)) {
            value = std::string(Trim(line.substr(eq + 1)));
            return true;
        }
    }
    return false;
}

std::string CopyProfileValue(std::string_view value, std::uint32_t size) {
    std::u16string units;
    if (size == 0 || !Utf8ToUtf16(value, units)) return {};
    std::size_t begin = 0;
    bool quoted = false;
    if (units.size() >= 2 && (units[0] == u'"' || units[0] == u'\'') &&
        units.back() == units.front()) {
        begin = 1;
        quoted = true;
    }
    const std::size_t body = units.size() - begin;
    std::size_t n = std::min<std::size_t>(body, size - 1);
    if (quoted && n > 0 && size >= body) --n;
    return Utf16ToUtf8(std::u16string_view(units).substr(begin, n));
}

std::string CutToUnits(std::string_view utf8, std::size_t units) {
    std::u16string wide;
    if (!Utf8ToUtf16(utf8, wide)) return std::string(utf8.substr(0, units));
    if (wide.size() <= units) return std::string(utf8);
    return Utf16ToUtf8(std::u16string_view(wide).substr(0, units));
}

}  // namespace vw
