#include "platform/run_error.h"
#include "registry/reg32.h"
#include "wash/frm_wash.h"

namespace vw {

void frmWash::WashFindHistory() {
    DeleteRegValue(platform_, hkey::kCurrentUser,
                   "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", "Doc Find Spec MRU");
    DeleteRegKeyTree(platform_, hkey::kCurrentUser,
                     "Software\\Microsoft\\Internet Explorer\\Explorer Bars");
    DeleteRegKeyTree(platform_, hkey::kCurrentUser, "Software\\Microsoft\\Search Assistant\\ACMru");
}

void frmWash::WashRunHistory() {
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
    std::string list;
    ResumeNext([&] { list = GetRegString(platform_, hkey::kCurrentUser, key, "MRUList"); });
    // Each character of the list names one entry value.
    for (char entry : list) {
        ResumeNext(
            [&] { DeleteRegValue(platform_, hkey::kCurrentUser, key, std::string(1, entry)); });
    }
    ResumeNext([&] { DeleteRegValue(platform_, hkey::kCurrentUser, key, "MRUList"); });
}

}  // namespace vw
