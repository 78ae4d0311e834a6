#include "platform/win32/win32_error.h"

namespace vw::win32 {

RunError FileError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
            return RunError(errnum::kFileNotFound, "File not found");
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return RunError(errnum::kPathNotFound, "Path not found");
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return RunError(errnum::kPermissionDenied, "Permission denied");
        case ERROR_NOT_READY:
            return RunError(errnum::kDiskNotReady, "Disk not ready");
        case ERROR_INVALID_DRIVE:
        case ERROR_DEV_NOT_EXIST:
            return RunError(errnum::kDeviceUnavailable, "Device unavailable");
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return RunError(errnum::kDiskFull, "Disk full");
        case ERROR_HANDLE_EOF:
            return RunError(errnum::kInputPastEndOfFile, "Input past end of file");
        default:
            return RunError(errnum::kPathFileAccessError, "Path/File access error");
    }
}

}  // namespace vw::win32
