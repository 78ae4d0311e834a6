#pragma once

#include <string>

namespace vw::win32 {

// The wide form of a path for the file API. Past the classic length limit a
// full path gets the long-path prefix (\\?\ or \\?\UNC\), after the
// normalisation the prefix would switch off, so the core never sees it.
// False for a name that is no UTF-8 or holds a NUL.
bool ApiPath(const std::string& path, std::wstring& wide);

// As ApiPath, raising RunError 52 for a name that is no UTF-8.
std::wstring ApiPathOrRaise(const std::string& path);

}  // namespace vw::win32
