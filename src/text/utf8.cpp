#include "text/utf8.h"

namespace vw {

namespace {

bool IsHigh(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

bool Utf8ToUtf16(std::string_view in, std::u16string& out) {
    out.clear();
    bool lastWasLoneHigh = false;
    for (std::size_t i = 0; i < in.size();) {
        const auto b = static_cast<unsigned char>(in[i]);
        // ASCII stands for itself; a lead byte tells the length and its bits.
        std::size_t length = 1;
        char32_t c = b;
        char32_t least = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
            c = b & 0x1F;
            least = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            c = b & 0x0F;
            least = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            c = b & 0x07;
            least = 0x10000;
        } else if (b >= 0x80) {
            return false;
        }
        if (in.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto cont = static_cast<unsigned char>(in[i + k]);
            if ((cont & 0xC0) != 0x80) return false;
            c = (c << 6) | (cont & 0x3F);
        }
        if (c < least || c > 0x10FFFF) return false;
        // A high surrogate followed by a low one is a pair: only the
        // four-byte form may spell it.
        if (lastWasLoneHigh && IsLow(c)) return false;
        lastWasLoneHigh = IsHigh(c);
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += length;
    }
    return true;
}

std::string Utf16ToUtf8(std::u16string_view in) {
    std::string out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        char32_t c = in[i];
        if (IsHigh(c) && i + 1 < in.size() && IsLow(in[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            ++i;
        }
        Append(out, c);
    }
    return out;
}

std::string Latin1ToUtf8(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    for (char ch : in) Append(out, static_cast<unsigned char>(ch));
    return out;
}

bool IsPlatformName(std::string_view text) {
    std::u16string units;
    return text.find('\0') == std::string_view::npos && Utf8ToUtf16(text, units);
}

bool HasUtf8Bom(std::string_view text) {
    return text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0;
}

}  // namespace vw
