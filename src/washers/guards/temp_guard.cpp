#include "washers/guards/temp_guard.h"

#include <cctype>

#include "text/path_root.h"

namespace vw {

namespace {

// Upper case, single separators after the root, one trailing "\".
std::string Normal(const std::string& path) {
    std::string out;
    const std::size_t root = PathRootLength(path);
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i >= root && path[i] == '\\' && !out.empty() && out.back() == '\\') continue;
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(path[i])));
    }
    if (!out.empty() && out.back() != '\\') out += '\\';
    return out;
}

bool HasDotComponent(const std::string& normal, std::size_t root) {
    for (std::size_t start = root; start < normal.size();) {
        const auto end = normal.find('\\', start);
        const std::string part = normal.substr(start, end - start);
        if (part.find_first_not_of(". ") == std::string::npos) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

bool TempDirIsWashable(const std::string& dir, const std::string& windowsFolder,
                       const std::string& profileFolder) {
    const std::string d = Normal(dir);
    const std::size_t root = PathRootLength(d);
    // Nothing but separators after the root: the root itself.
    const std::size_t below = d.find_first_not_of('\\', root);
    if (root == 0 || below == std::string::npos || HasDotComponent(d, below)) return false;
    for (const std::string* kept : {&windowsFolder, &profileFolder}) {
        if (!kept->empty() && Normal(*kept).compare(0, d.size(), d) == 0) return false;
    }
    return true;
}

}  // namespace vw
