#pragma once

#include <cstdint>
#include <string>

#include "platform/hresult.h"

namespace vw {

// What a Recycle Bin holds, as the shell counts it; `status` its HRESULT.
struct RecycleBinCount {
    long status = 0;
    std::uint64_t items = 0;
    std::uint64_t bytes = 0;
};

// The platform's shell services. Paths are UTF-8.
class Shell {
  public:
    virtual ~Shell() = default;

    // Empties the current user's list of recently used documents. The shell
    // reports nothing back: no result, never raises.
    virtual void ClearRecentDocuments() = 0;

    // Empties the Recycle Bin of the drive `rootPath` names ("D:\"), or of
    // every drive when it is empty, as the sherb flags say, without an owner
    // window. Returns the shell's HRESULT as a value, never raises: 0 when
    // emptied, a failure code otherwise (E_FAIL for a bin already empty,
    // E_INVALIDARG for a path that is no UTF-8).
    virtual long EmptyRecycleBin(const std::string& rootPath, std::uint32_t flags) = 0;

    // The items and bytes in the Recycle Bin of `rootPath`, or of every
    // drive when it is empty. Returns a value, never raises. A shell that
    // cannot count answers E_NOTIMPL.
    virtual RecycleBinCount QueryRecycleBin(const std::string&) {
        return {hresult::kNotImplemented, 0, 0};
    }
};

// EmptyRecycleBin flags, as the shell defines them.
namespace sherb {
constexpr std::uint32_t kNoConfirmation = 1;
constexpr std::uint32_t kNoProgressUi = 2;
constexpr std::uint32_t kNoSound = 4;
}  // namespace sherb

}  // namespace vw
