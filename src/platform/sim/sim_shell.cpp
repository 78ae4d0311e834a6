#include "platform/sim/sim_shell.h"

#include "text/utf8.h"

namespace vw::sim {

void SimShell::SHAddToRecentDocs(std::uint32_t flags, const void* item) {
    journal_.push_back("SHAddToRecentDocs " + std::to_string(flags) + (item ? " item" : " null"));
    faults_.Check("SHAddToRecentDocs");
}

long SimShell::SHEmptyRecycleBinA(std::uintptr_t owner, const std::string& rootPath,
                                  std::uint32_t flags) {
    journal_.push_back("SHEmptyRecycleBinA " + std::to_string(owner) + " \"" + rootPath + "\" " +
                       std::to_string(flags));
    faults_.Check("SHEmptyRecycleBinA");
    std::u16string units;
    if (!Utf8ToUtf16(rootPath, units) || rootPath.find('\0') != std::string::npos) {
        return static_cast<long>(0x80070057);  // E_INVALIDARG: no path can be spelt so
    }
    if (recycled == 0) return static_cast<long>(0x80004005);  // E_FAIL, as an empty bin gives
    recycled = 0;
    return 0;
}

}  // namespace vw::sim
