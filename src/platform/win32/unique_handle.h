#pragma once

#include <windows.h>

#include <cstdint>
#include <type_traits>

namespace vw::win32 {

// Sole owner of one Win32 handle. `Closer` is a function object releasing the
// handle; `Invalid` is the value meaning "no handle" (0 for most handles, -1
// for file and find handles). Closing keeps GetLastError() as it was, so a
// failure can be read after the handle that caused it has gone.
template <typename T, typename Closer, std::intptr_t Invalid = 0>
class UniqueHandle {
    static_assert(std::is_pointer_v<T>, "Win32 handles are pointer types");

  public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(T handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    static T invalid() noexcept { return reinterpret_cast<T>(Invalid); }

    T get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != invalid(); }

    T release() noexcept {
        T handle = handle_;
        handle_ = invalid();
        return handle;
    }

    void reset(T handle = invalid()) noexcept {
        if (handle_ != invalid()) {
            const DWORD error = ::GetLastError();
            Closer{}(handle_);
            ::SetLastError(error);
        }
        handle_ = handle;
    }

    // Closes the current handle and hands out the slot for an out-parameter.
    T* put() noexcept {
        reset();
        return &handle_;
    }

  private:
    T handle_ = invalid();
};

}  // namespace vw::win32
