#include "startup/ini_path.h"

namespace vw {

std::string IniPath;

}  // namespace vw
