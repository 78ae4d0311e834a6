#pragma once

#include <windows.h>

#include <string>

namespace vw::win32 {

// The text a call of the API's size-probe kind gives: `fill(size, buffer)`
// returns the text's length when it fits `size` units with its NUL, else the
// size it needs (NUL included), 0 on failure. Asked again while the text
// grows between two calls; empty on failure.
template <typename Fill>
std::wstring SizedText(Fill fill) {
    std::wstring text(MAX_PATH + 1, L'\0');
    for (int attempt = 0; attempt < 8; ++attempt) {
        const DWORD length = fill(static_cast<DWORD>(text.size()), text.data());
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(length);
    }
    return {};
}

// `path` made full (drive, current folder, "." and ".." resolved); empty
// when that fails.
std::wstring FullPath(const std::wstring& path);

// The wide form of a path for the file API. Past the classic length limit a
// full path gets the long-path prefix (\\?\ or \\?\UNC\), after the
// normalisation the prefix would switch off, so the core never sees it.
// False for a name that is no UTF-8 or holds a NUL.
bool ApiPath(const std::string& path, std::wstring& wide);

// As ApiPath, raising RunError 52 for a name that is no UTF-8.
std::wstring ApiPathOrRaise(const std::string& path);

}  // namespace vw::win32
