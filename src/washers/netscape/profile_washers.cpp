#include "common/settings.h"
#include "platform/file_system_object.h"
#include "platform/run_error.h"
#include "registry/reg32.h"
#include "wash/frm_wash.h"

namespace vw {

void frmWash::WashNetscapeCache(const std::string& profileDir) {
    if (Setting(section::kNetscapeOptions, "Cache") != "1") return;
    FileSystem& fs = platform_.files;
    const FileSystemObject fso(fs);
    ResumeNext([&] { fso.DeleteFolder(profileDir + "\\Cache", true); });
    ResumeNext([&] { fs.CreateFolder(profileDir + "\\Cache"); });
}

void frmWash::WashNetscapeCookies(const std::string& profileDir) {
    if (Setting(section::kNetscapeOptions, "Cookies") != "1") return;
    BleachFile(profileDir + "\\cookies.txt");
}

void frmWash::WashNetscapeHistory(const std::string& profileDir) {
    if (Setting(section::kNetscapeOptions, "Clean") != "1") return;
    // The same key for every profile.
    DeleteRegValuesByPrefix(platform_, hkey::kCurrentUser,
                            "Software\\Netscape\\Netscape Navigator\\URL History", "URL_");
    BleachFile(profileDir + "\\history.dat");
    BleachFile(profileDir + "\\netscape.hst");
}

void frmWash::WashNetscapeMailTrash(const std::string& profileDir) {
    if (Setting(section::kNetscapeOptions, "MailTrash") != "1") return;
    FileSystem& fs = platform_.files;
    const FileSystemObject fso(fs);
    std::vector<FsoFolder> mailFolders;
    ResumeNext([&] { mailFolders = fso.GetFolder(profileDir + "\\mail\\").SubFolders(); });
    for (const FsoFolder& folder : mailFolders) {
        // A link's files belong to its target, which no setting names.
        if (folder.Attributes() & attr::kReparsePoint) continue;
        const std::string mask = folder.Path() + "\\trash*.*";
        ResumeNext([&] {
            if (!fs.List(mask, attr::kHidden).Next().empty()) fs.Kill(mask);
        });
    }
}

}  // namespace vw
