#include "text/path_root.h"

#include <cctype>

namespace vw {

std::size_t PathRootLength(const std::string& path) {
    if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
        path[2] == '\\') {
        return 3;
    }
    if (path.rfind("\\\\", 0) != 0) return 0;
    const auto server = path.find('\\', 2);
    if (server == std::string::npos || server == 2) return 0;
    const auto share = path.find('\\', server + 1);
    if (share == server + 1) return 0;
    return share == std::string::npos ? path.size() : share;
}

}  // namespace vw
