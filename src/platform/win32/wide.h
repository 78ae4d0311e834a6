#pragma once

#include <string>
#include <string_view>

namespace vw::win32 {

// The edge where names cross from the seam's UTF-8 to the wide API.

// False for bytes that are no UTF-8 (see text/utf8.h) and for a NUL
// inside the text: the API would end the name there and address another one.
bool ToWide(std::string_view utf8, std::wstring& wide);

std::string FromWide(std::wstring_view wide);

// As FromWide, up to the first NUL of a filled buffer.
std::string FromWideBuffer(const wchar_t* buffer, std::size_t capacity);

// Plain ASCII reads the same in every ANSI code page and in UTF-8.
bool IsAscii(std::string_view text);

// Text in the system's ANSI code page (stored files, cache URLs), as UTF-8.
std::string AnsiToUtf8(std::string_view ansi);

}  // namespace vw::win32
