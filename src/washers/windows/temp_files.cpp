#include "platform/file_system_object.h"
#include "platform/run_error.h"
#include "text/utf8.h"
#include "wash/frm_wash.h"
#include "washers/guards/temp_guard.h"

namespace vw {

namespace {

// The next name, or the end when the listing fails: a failing listing must
// not hand the same name out again.
void NextName(DirectoryListing& listing, std::string& name) {
    ResumeNext([&] {
        name.clear();
        name = listing.Next();
    });
}

}  // namespace

std::string frmWash::GetTempDir() {
    // Read through a buffer of 255 UTF-16 units: a path that does not fit
    // with its NUL, 255 units or more, is not written and reads as empty.
    const std::string dir = platform_.files.TempPath();
    std::u16string units;
    const std::size_t length = Utf8ToUtf16(dir, units) ? units.size() : dir.size();
    return length < 255 ? dir : std::string();
}

void frmWash::WashTempFiles() {
    const std::string dir = GetTempDir();
    FileSystem& fs = platform_.files;
    if (!TempDirIsWashable(dir, fs.WindowsFolder(), fs.ProfileFolder())) return;

    // Entries go while their listing is open; it just goes on with the next.
    DirectoryListing files;
    std::string name;
    ResumeNext([&] {
        files = fs.List(dir, attr::kHidden);
        name = files.Next();
    });
    while (!name.empty()) {
        const std::string path = dir + name;
        ResumeNext([&] { fs.SetAttributes(path, attr::kNormal); });
        ResumeNext([&] { fs.RemoveFile(path); });
        NextName(files, name);
    }

    const FileSystemObject fso(fs);
    DirectoryListing folders;
    ResumeNext([&] {
        folders = fs.List(dir, attr::kDirectory);
        name = folders.Next();
    });
    while (!name.empty()) {
        // A plain file left over from above fails here and is passed over.
        if (name != "." && name != "..") ResumeNext([&] { fso.DeleteFolder(dir + name, true); });
        NextName(folders, name);
    }
}

}  // namespace vw
