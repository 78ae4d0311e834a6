#include "platform/sim/sim_profile.h"

#include "text/profile_text.h"
#include "text/utf8.h"

namespace vw::sim {

namespace {

bool IsUtf8Name(const std::string& s) {
    std::u16string units;
    return s.find('\0') == std::string::npos && Utf8ToUtf16(s, units);
}

}  // namespace

std::string ProfileFileText(std::string_view bytes) {
    if (HasUtf8Bom(bytes)) {
        const std::string_view rest = bytes.substr(3);
        std::u16string units;
        return Utf8ToUtf16(rest, units) ? std::string(rest) : Latin1ToUtf8(rest);
    }
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        // UTF-16, little-endian; an odd last byte is no unit.
        std::u16string units;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                           static_cast<unsigned char>(bytes[i + 1]) << 8);
        }
        return Utf16ToUtf8(units);
    }
    return Latin1ToUtf8(bytes);
}

std::string SimProfileReader::GetPrivateProfileStringA(const std::string& section,
                                                       const std::string& key,
                                                       const std::string& defaultValue,
                                                       std::uint32_t size,
                                                       const std::string& file) {
    journal_.push_back("read [" + section + "] " + key);
    if (file.empty() || !IsUtf8Name(section) || !IsUtf8Name(key) || !IsUtf8Name(defaultValue) ||
        !IsUtf8Name(file)) {
        return {};
    }
    std::string value = defaultValue;
    if (files_.IsFile(file)) {
        FindProfileValue(ProfileFileText(files_.Content(file)), section, key, value);
    }
    return CopyProfileValue(value, size);
}

}  // namespace vw::sim
