#pragma once

#include <string>

#include "platform/profile.h"

namespace vw {

// The value of `key` in `section` of the initialization file `file`, at most
// 254 characters; the empty string when the file, section or key is missing
// or anything fails. Read afresh at every call, never cached.
std::string ReadIni(ProfileReader& reader, const std::string& section, const std::string& key,
                    const std::string& file) noexcept;

}  // namespace vw
