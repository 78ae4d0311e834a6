#include "platform/sim/sim_profile.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace vw::sim {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// Copies like the real reader: one enclosing pair of quotes is dropped, the
// closing one only when the whole value fits the buffer.
std::uint32_t CopyValue(const std::string& value, char* buffer, std::uint32_t size) {
    std::size_t begin = 0;
    bool quoted = false;
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') &&
        value.back() == value.front()) {
        begin = 1;
        quoted = true;
    }
    const std::string body = value.substr(begin);
    std::size_t n = std::min<std::size_t>(body.size(), size - 1);
    std::memcpy(buffer, body.data(), n);
    if (quoted && n > 0 && size >= body.size()) --n;
    buffer[n] = '\0';
    return static_cast<std::uint32_t>(n);
}

}  // namespace

bool FindProfileValue(const std::string& text, const std::string& section, const std::string& key,
                      std::string& value) {
    bool inSection = false;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const auto close = line.rfind(']');
            if (close != std::string::npos) {
                inSection = SameName(Trim(line.substr(1, close - 1)), section);
                continue;
            }
        }
        if (!inSection) continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (SameName(Trim(line.substr(0, eq)), key)) {
            value = Trim(line.substr(eq + 1));
            return true;
        }
    }
    return false;
}

std::uint32_t SimProfileReader::GetPrivateProfileStringA(const std::string& section,
                                                         const std::string& key,
                                                         const std::string& defaultValue,
                                                         char* buffer, std::uint32_t size,
                                                         const std::string& file) {
    journal_.push_back("read [" + section + "] " + key);
    if (size == 0) return 0;
    buffer[0] = '\0';
    if (file.empty()) return 0;
    std::string value = defaultValue;
    if (files_.IsFile(file)) FindProfileValue(files_.Content(file), section, key, value);
    return CopyValue(value, buffer, size);
}

}  // namespace vw::sim
