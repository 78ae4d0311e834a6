#pragma once

#include <windows.h>

namespace vw::win32 {

// Raises the RunError a file operation fails with, for a Win32 error code.
[[noreturn]] void RaiseFileError(DWORD error);

}  // namespace vw::win32
