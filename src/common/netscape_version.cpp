#include "common/netscape_version.h"

#include "registry/reg32.h"

namespace vw {

std::uint8_t NetscapeKind = 0;

std::string GetNetscapeVersion(Platform& p) {
    std::string v =
        GetRegString(p, hkey::kLocalMachine, "Software\\Netscape\\Netscape 6", "CurrentVersion");
    if (!v.empty()) {
        NetscapeKind = 6;
        return v;
    }
    v = GetRegString(p, hkey::kLocalMachine, "Software\\Netscape\\Netscape Navigator",
                     "CurrentVersion");
    NetscapeKind = 1;
    return v;
}

}  // namespace vw
