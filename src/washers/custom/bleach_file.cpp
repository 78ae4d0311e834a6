#include "wash/frm_wash.h"

namespace vw {

void frmWash::BleachFile(const std::string& path) {
    constexpr std::uint64_t kBlock = 4096;
    const std::string xBlock(kBlock, 'X');
    const std::string blankBlock(kBlock, ' ');
    FileSystem& fs = platform_.files;
    // A link has no bytes of its own (none is opened): only the link goes.
    if (const auto file = fs.OpenBinary(path)) {
        // One block more than the length needs when it is a multiple of 4096.
        const std::uint64_t blocks = file->Length() / kBlock + 1;
        for (std::uint64_t k = 0; k < blocks; ++k) {
            file->WriteAt(k * kBlock, xBlock);
            file->WriteAt(k * kBlock, blankBlock);
        }
        // Onto the disk before the file goes: a deleted file's cached blocks
        // may never be written at all.
        file->Flush();
    }
    fs.RemoveFile(path);
}

}  // namespace vw
