#include "platform/win32/wide.h"

#include <windows.h>

#include <algorithm>

#include "text/utf8.h"

namespace vw::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide API speaks UTF-16");

bool ToWide(std::string_view utf8, std::wstring& wide) {
    std::u16string units;
    if (utf8.find('\0') != std::string_view::npos || !Utf8ToUtf16(utf8, units)) return false;
    wide.assign(units.begin(), units.end());
    return true;
}

std::string FromWide(std::wstring_view wide) {
    return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

std::string FromWideBuffer(const wchar_t* buffer, std::size_t capacity) {
    std::size_t length = 0;
    while (length < capacity && buffer[length] != L'\0') ++length;
    return FromWide(std::wstring_view(buffer, length));
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

std::string AnsiToUtf8(std::string_view ansi) {
    if (IsAscii(ansi)) return std::string(ansi);
    const int size = static_cast<int>(ansi.size());
    const int units = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
    if (units <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), units);
    return FromWide(wide);
}

}  // namespace vw::win32
