#include "platform/run_error.h"
#include "registry/reg32.h"
#include "wash/frm_wash.h"

namespace vw {

void frmWash::WashRecycleBin(std::string rootPath, bool noConfirmation, bool noProgressDisplay,
                             bool noSound) {
    // The owner would be the active form; this window is never shown, so
    // never active, and the shell gets none.
    ResumeNext([&] {
        // A bare letter or "D:" becomes the drive's root.
        if (!rootPath.empty() && rootPath.compare(1, 2, ":\\") != 0) {
            rootPath = rootPath.substr(0, 1) + ":\\";
        }
    });
    std::uint32_t flags = 0;
    if (noConfirmation) flags |= sherb::kNoConfirmation;
    if (noProgressDisplay) flags |= sherb::kNoProgressUi;
    if (noSound) flags |= sherb::kNoSound;
    // An empty bin makes the shell report failure; that is no failure here.
    ResumeNext([&] { platform_.shell.EmptyRecycleBin(rootPath, flags); });
}

void frmWash::WashMediaPlayer() {
    const std::string key = "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList";
    // URL0 upwards, up to the first one missing, empty or not a plain string,
    // which is deleted too.
    for (int n = 0; n <= 100; ++n) {
        const std::string name = "URL" + std::to_string(n);
        std::string text;
        ResumeNext([&] { text = GetRegString(platform_, hkey::kCurrentUser, key, name); });
        ResumeNext([&] { DeleteRegValue(platform_, hkey::kCurrentUser, key, name); });
        if (text.empty()) break;
    }
    ResumeNext([&] {
        DeleteRegKeyTree(platform_, hkey::kCurrentUser,
                         "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList");
    });
}

}  // namespace vw
