#include "common/settings.h"
#include "platform/field_reader.h"
#include "platform/file_system_object.h"
#include "platform/run_error.h"
#include "registry/reg32.h"
#include "text/path_root.h"
#include "wash/frm_wash.h"

namespace vw {

namespace {

// The root a "K" or "V" path begins with; `below` gets the rest.
HKey RootKeyOf(const std::string& path, std::string& below) {
    const std::string root = ParseRootKey(path, below);
    if (root.empty()) throw RunError(errnum::kTypeMismatch, "Type mismatch");
    return static_cast<HKey>(std::stoll(root));
}

}  // namespace

void frmWash::WashCustomItems() {
    FileSystem& fs = platform_.files;
    const FileSystemObject fso(fs);
    const FsoFolder folder = fso.GetFolder(platform_.process.ProgramFolder() + "\\Custom\\");
    for (const FsoFile& list : folder.Files()) {
        FieldReader reader(fs.ReadText(list.Path()));
        while (!reader.AtEnd()) {
            const std::string type = reader.Next();
            const std::string path = reader.Next();
            const std::string name = reader.Next();
            std::string below;
            if (type == "K") {
                const HKey root = RootKeyOf(path, below);
                // A root itself names no key: deleting "below" it would take
                // every key under that root.
                if (below.find_first_not_of('\\') != std::string::npos) {
                    DeleteRegKeyTree(platform_, root, below);
                }
            } else if (type == "V") {
                const HKey root = RootKeyOf(path, below);
                DeleteRegValue(platform_, root, below, name);
            } else if (type == "F") {
                WashCustomFiles(path);
            }
        }
    }
}

void frmWash::WashCustomFiles(const std::string& path) {
    // A relative path would mean whatever folder the program was started in.
    if (PathRootLength(path) == 0) return;
    FileSystem& fs = platform_.files;
    if (path.size() >= 2 && path[1] == ':' &&
        fs.KindOfDrive(path.substr(0, 2) + "\\") == DriveKind::kNone) {
        throw RunError(errnum::kDeviceUnavailable, "Device unavailable");
    }
    const auto slash = path.rfind('\\');
    DirectoryListing matches = fs.List(path, attr::kHidden | attr::kSystem);
    for (std::string found = matches.Next(); !found.empty(); found = matches.Next()) {
        const std::string full = path.substr(0, slash) + "\\" + found;
        fs.SetAttributes(full, attr::kNormal);
        if (Setting(section::kWashOptions, "AddBleach") == "1") {
            BleachFile(full);
        } else {
            fs.RemoveFile(full);
        }
    }
}

}  // namespace vw
