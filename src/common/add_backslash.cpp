#include "common/add_backslash.h"

namespace vw {

std::string AddBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\') return path;
    return path + '\\';
}

}  // namespace vw
