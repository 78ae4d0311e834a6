#include <algorithm>

#include "common/get_setting.h"
#include "common/netscape_version.h"
#include "common/settings.h"
#include "registry/reg32.h"
#include "wash/frm_wash.h"

namespace vw {

void frmWash::WashNetscape() {
    const auto washProfile = [&](const std::string& profileDir) {
        WashNetscapeCache(profileDir);
        WashNetscapeCookies(profileDir);
        WashNetscapeHistory(profileDir);
        WashNetscapeMailTrash(profileDir);
    };
    GetNetscapeVersion(platform_);
    if (NetscapeKind == 6) {
        // Only the number of separators counts: profiles "1" to n. No limit
        // on n, and an empty selection selects nothing.
        const std::string selected =
            GetSetting(platform_, kAppTitle, "NProfile", "SelectedNProfile");
        const auto n = static_cast<std::size_t>(std::count(selected.begin(), selected.end(), '|'));
        for (std::size_t i = 1; i <= n; ++i) {
            const std::string profileDir =
                GetSetting(platform_, kAppTitle, "NProfile", std::to_string(i));
            // An empty folder would put the washers at the current drive's root.
            if (!profileDir.empty()) washProfile(profileDir);
        }
        return;
    }
    const std::string install =
        GetRegString(platform_, hkey::kCurrentUser, "Software\\Netscape\\Netscape Navigator\\Main",
                     "Install Directory");
    const std::string user =
        GetRegString(platform_, hkey::kCurrentUser, "Software\\Netscape\\Netscape Navigator\\biff",
                     "CurrentUser");
    // No installation folder to go up from: no Navigator profile.
    const auto last = install.rfind('\\');
    if (last == std::string::npos) return;
    washProfile(install.substr(0, last) + "\\Users\\" + user);
}

}  // namespace vw
