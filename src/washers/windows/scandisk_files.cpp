#include <cstdio>

#include "platform/file_system_object.h"
#include "wash/frm_wash.h"

namespace vw {

void frmWash::WashScandiskFiles() {
    FileSystem& fs = platform_.files;
    const FileSystemObject fso(fs);
    const std::vector<std::string> drives = DriveList();  // counted once
    for (const std::string& entry : drives) {
        const FsoDrive drive = fso.GetDrive(FileSystemObject::GetDriveName(entry));
        if (drive.DriveType() != fsodrive::kFixed) continue;
        const std::string root = drive.DriveLetter() + ":\\";

        DirectoryListing fragments = fs.List(root + "*.chk", attr::kNormal);
        for (std::string name = fragments.Next(); !name.empty(); name = fragments.Next()) {
            fs.SetAttributes(root + name, attr::kNormal);
            fs.RemoveFile(root + name);
        }
        for (int n = 0; n <= 10; ++n) {
            char number[8];
            std::snprintf(number, sizeof number, "%03d", n);
            const std::string folder = root + "FOUND." + number;
            if (!fs.List(folder, attr::kDirectory).Next().empty()) fso.DeleteFolder(folder, true);
        }
    }
}

}  // namespace vw
