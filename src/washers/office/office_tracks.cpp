#include "common/settings.h"
#include "registry/reg32.h"
#include "wash/frm_wash.h"

namespace vw {

void frmWash::WashOfficeTracks() {
    static const char* const kVersionRoots[] = {
        "Software\\Microsoft\\Office\\8.0",
        "Software\\Microsoft\\Office\\9.0",
        "Software\\Microsoft\\Office\\10.0",
    };
    const HKey hkcu = hkey::kCurrentUser;
    auto on = [&](const char* key) { return Setting(section::kMSOffice, key) == "1"; };
    auto tree = [&](const std::string& path) { DeleteRegKeyTree(platform_, hkcu, path); };

    // Without "AppData" the mask would start at the current drive's root.
    const std::string appData = GetRegString(
        platform_, hkcu, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
        "AppData");
    if (!appData.empty()) {
        const std::string mask = appData + "\\Microsoft\\Office\\Recent" + "\\*.lnk";
        if (!platform_.files.List(mask, attr::kNormal).Next().empty()) platform_.files.Kill(mask);
    }

    for (const std::string v : kVersionRoots) {
        if (on("MSWord")) {
            tree(v + "\\Word\\Data");
            tree(v + "\\Common\\Open Find\\Microsoft Word\\Settings");
        }
        if (on("MSPPT")) {
            tree(v + "\\PowerPoint\\Recent File List");
            tree(v + "\\PowerPoint\\Recent Folder List");
            tree(v + "\\PowerPoint\\Recent Typeface");
        }
        if (on("MSExcel")) {
            tree(v + "\\Excel\\Recent Files");
            tree(v + "\\Excel\\Recent File List");
            tree(v + "\\Common\\Open Find\\Microsoft Excel\\Settings");
        }
        if (on("MSAccess")) {
            DeleteRegValuesByPrefix(platform_, hkcu, v + "\\Access\\Settings", "MRU");
            tree(v + "\\Common\\Open Find\\Microsoft Access\\Settings");
        }
        if (on("MSOutlook")) tree(v + "\\Common\\Open Find\\Microsoft Outlook\\Settings");
    }
    if (on("MSPHEditor")) {
        DeleteRegValuesByPrefix(platform_, hkcu,
                                "Software\\Microsoft\\Photo Editor\\3.0\\Microsoft Photo Editor",
                                "Last");
    }
}

}  // namespace vw
