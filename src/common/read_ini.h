#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/profile.h"

namespace vw {

// The value of `key` in `section` of the initialization file `file`, at most
// 254 characters (UTF-16 units); the empty string when the file, section or
// key is missing or anything fails. Read afresh at every call, never cached.
std::string ReadIni(ProfileReader& reader, const std::string& section, const std::string& key,
                    const std::string& file);

}  // namespace vw
