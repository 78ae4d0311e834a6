#pragma once

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace vw::win32 {

struct CloseHandleCloser {
    void operator()(HANDLE h) const noexcept { ::CloseHandle(h); }
};
struct FindCloseCloser {
    void operator()(HANDLE h) const noexcept { ::FindClose(h); }
};
struct DestroyWindowCloser {
    void operator()(HWND h) const noexcept { ::DestroyWindow(h); }
};
struct ReleaseScreenDcCloser {
    void operator()(HDC h) const noexcept { ::ReleaseDC(nullptr, h); }
};
struct RegCloseKeyCloser {
    void operator()(HKEY h) const noexcept { ::RegCloseKey(h); }
};

using UniqueKernelHandle = UniqueHandle<HANDLE, CloseHandleCloser>;
// CreateFileA reports failure as INVALID_HANDLE_VALUE, not null.
using UniqueFileHandle = UniqueHandle<HANDLE, CloseHandleCloser, -1>;
using UniqueFindHandle = UniqueHandle<HANDLE, FindCloseCloser, -1>;
using UniqueWindow = UniqueHandle<HWND, DestroyWindowCloser>;
// A device context obtained with GetDC(nullptr).
using UniqueScreenDc = UniqueHandle<HDC, ReleaseScreenDcCloser>;
using UniqueRegKey = UniqueHandle<HKEY, RegCloseKeyCloser>;

}  // namespace vw::win32
