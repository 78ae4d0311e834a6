#pragma once

#include <initializer_list>
#include <string>
#include <utility>

namespace vw::e2e {

using IniChange = std::pair<std::string, std::string>;

// Local.Ini text with every wash item "0", SkipAllCustomWashItems "1" and
// SkipMessages "0", then the given keys set. SkipAllCustomWashItems and
// SkipMessages go to "Wash Options", every other key to "Standard Options".
std::string LocalIni(std::initializer_list<IniChange> changes = {});

// The same with every wash item "1".
std::string LocalIniAllOn(std::initializer_list<IniChange> changes = {});

}  // namespace vw::e2e
