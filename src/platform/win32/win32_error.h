#pragma once

#include <windows.h>

#include "platform/run_error.h"

namespace vw::win32 {

// The RunError a file operation fails with, for a Win32 error code.
RunError FileError(DWORD error);
[[noreturn]] inline void RaiseFileError(DWORD error) {
    throw FileError(error);
}

// While it lives, a drive without a medium fails at once instead of asking
// the user to insert one. Per thread: restoring the mode then cannot undo
// what another thread set in the meantime.
class CriticalErrorsFail {
  public:
    CriticalErrorsFail() { ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
    ~CriticalErrorsFail() { ::SetThreadErrorMode(previous_, nullptr); }
    CriticalErrorsFail(const CriticalErrorsFail&) = delete;
    CriticalErrorsFail& operator=(const CriticalErrorsFail&) = delete;

  private:
    DWORD previous_ = 0;
};

}  // namespace vw::win32
