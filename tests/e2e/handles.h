#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace vw::e2e {

// Owners of Win32 handles; each closes its handle once, when it goes.
struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// CreateFileA reports failure as INVALID_HANDLE_VALUE, not null.
inline UniqueHandle OwnFileHandle(HANDLE h) {
    return UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

struct FindCloser {
    void operator()(HANDLE h) const { FindClose(h); }
};
// Holds only a valid find handle: INVALID_HANDLE_VALUE is never stored.
using UniqueFind = std::unique_ptr<void, FindCloser>;

struct KeyCloser {
    void operator()(HKEY k) const { RegCloseKey(k); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

}  // namespace vw::e2e
