#include "platform/win32/win32_error.h"

#include "platform/run_error.h"

namespace vw::win32 {

void RaiseFileError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
            throw RunError(errnum::kFileNotFound, "File not found");
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            throw RunError(errnum::kPathNotFound, "Path not found");
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            throw RunError(errnum::kPermissionDenied, "Permission denied");
        case ERROR_NOT_READY:
            throw RunError(errnum::kDiskNotReady, "Disk not ready");
        default:
            throw RunError(errnum::kPathFileAccessError, "Path/File access error");
    }
}

}  // namespace vw::win32
