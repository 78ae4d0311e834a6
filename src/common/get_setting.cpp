#include "common/get_setting.h"

#include "registry/reg32.h"

namespace vw {

std::string GetSetting(Platform& p, const std::string& app, const std::string& section,
                       const std::string& key) {
    return GetRegString(p, hkey::kCurrentUser,
                        "Software\\VB and VBA Program Settings\\" + app + "\\" + section, key);
}

}  // namespace vw
