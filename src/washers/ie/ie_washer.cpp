#include <optional>
#include <string>

#include "common/add_backslash.h"
#include "registry/reg32.h"
#include "wash/frm_wash.h"
#include "washers/guards/temp_guard.h"
#include "washers/ie/ie_cache.h"
#include "washers/ie/url_history.h"

namespace vw {

namespace {

constexpr const char* kIEOptions = "IEOptions";
const std::string kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kInternetSettings =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kDistributionUnits =
    "SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units";
const std::string kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

// Whether files may be deleted in a folder read from the registry. An
// unreadable value would make the mask start at the current drive's root, so
// the Temp washer's rule decides: nothing relative, no root, neither the
// Windows nor the profile folder nor one above them.
bool MayDeleteIn(FileSystem& fs, const std::string& folder) {
    return TempDirIsWashable(folder, fs.WindowsFolder(), fs.ProfileFolder());
}

}  // namespace

void frmWash::DeleteCacheURLList() {
    vw::DeleteCacheURLList(platform_);
}

void frmWash::WashInternetExplorer() {
    const HKey hkcu = hkey::kCurrentUser;
    const HKey hklm = hkey::kLocalMachine;
    FileSystem& fs = platform_.files;
    auto on = [&](const char* key) { return Setting(kIEOptions, key) == "1"; };

    if (on("TempIEFiles")) DeleteCacheURLList();

    if (on("Cookies")) {
        const std::string folder =
            AddBackslash(GetRegString(platform_, hkcu, kShellFolders, "Cookies"));
        const std::string mask = folder + "*.txt";
        if (MayDeleteIn(fs, folder) && !fs.List(mask, attr::kHidden).Next().empty()) fs.Kill(mask);
    }

    if (on("DownloadDir")) {
        const std::string folder =
            AddBackslash(GetRegString(platform_, hklm, kInternetSettings, "ActiveXCache"));
        const std::string mask = folder + "*.*";
        if (MayDeleteIn(fs, folder) && !fs.List(mask, attr::kNormal).Next().empty()) fs.Kill(mask);
        DeleteRegKeyTree(platform_, hklm, kDistributionUnits);
    }

    std::optional<CURLHistory> history;  // held until the washer returns
    if (on("CleanHistory")) {
        history.emplace(platform_);
        history->Refresh(std::nullopt, 0);
        history->Clear();
        DeleteRegKeyTree(platform_, hkcu, kTypedUrls);
        CreateRegKey(platform_, hkcu, kTypedUrls);
    }

    if (on("IEConrolPanel")) {
        platform_.process.StartProgram(
            AddBackslash(platform_.process.ProgramFolder()) + "vantrixie.exe",
            showcmd::kMinimizedFocus);
    }
}

}  // namespace vw
