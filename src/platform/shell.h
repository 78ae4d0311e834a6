#pragma once

#include <cstdint>
#include <string>

namespace vw {

// The platform's shell services. Paths are UTF-8; the Win32 backend calls
// the wide (W) forms.
class Shell {
  public:
    virtual ~Shell() = default;

    // SHAddToRecentDocs: flags 0 with a null item empties the current
    // user's list of recently used documents. No result.
    virtual void SHAddToRecentDocs(std::uint32_t flags, const void* item) = 0;

    // SHEmptyRecycleBinA: empties the Recycle Bin of the drive `rootPath`
    // names, or of every drive when it is empty. Returns the shell's HRESULT;
    // E_INVALIDARG for a path that is no UTF-8.
    virtual long SHEmptyRecycleBinA(std::uintptr_t owner, const std::string& rootPath,
                                    std::uint32_t flags) = 0;
};

// SHEmptyRecycleBinA flags.
namespace sherb {
constexpr std::uint32_t kNoConfirmation = 1;
constexpr std::uint32_t kNoProgressUi = 2;
constexpr std::uint32_t kNoSound = 4;
}  // namespace sherb

}  // namespace vw
