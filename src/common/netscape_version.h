#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace vw {

// 6 when the last GetNetscapeVersion found Netscape 6, 1 otherwise (Navigator
// or none); 0 before the first call.
extern std::uint8_t NetscapeKind;

// The installed generation's "CurrentVersion" text, empty when none; sets
// NetscapeKind.
std::string GetNetscapeVersion(Platform& p);

}  // namespace vw
