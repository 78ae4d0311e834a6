#pragma once

#include <string>

#include "platform/platform.h"

namespace vw {

// An entry of the per-user program-settings store, kept in the registry at
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section> as a
// string value named by `key`; empty when there is none.
std::string GetSetting(Platform& p, const std::string& app, const std::string& section,
                       const std::string& key);

}  // namespace vw
