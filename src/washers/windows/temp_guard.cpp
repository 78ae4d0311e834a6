#include "washers/windows/temp_guard.h"

#include <cctype>

namespace vw {

namespace {

bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// Length of "C:\" or "\\server\share\" at the start; 0 for anything else.
std::size_t RootLength(const std::string& p) {
    if (p.size() >= 3 && IsLetter(p[0]) && p[1] == ':' && p[2] == '\\') return 3;
    if (p.rfind("\\\\", 0) != 0) return 0;
    const auto server = p.find('\\', 2);
    if (server == std::string::npos || server == 2) return 0;
    const auto share = p.find('\\', server + 1);
    if (share == server + 1) return 0;
    return share == std::string::npos ? p.size() : share + 1;
}

// Upper case, single separators after the root, one trailing "\".
std::string Normal(const std::string& path) {
    std::string out;
    const std::size_t root = RootLength(path);
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
    const std::size_t root = RootLength(d);
    if (root == 0 || d.size() <= root || HasDotComponent(d, root)) return false;
    for (const std::string* kept : {&windowsFolder, &profileFolder}) {
        if (!kept->empty() && Normal(*kept).rfind(d, 0) == 0) return false;
    }
    return true;
}

}  // namespace vw
