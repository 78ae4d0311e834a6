#pragma once

#include <cstdint>

namespace vw {

// A COM result: negative means failure, however wide a long is.
using HResult = std::int32_t;

namespace hresult {
constexpr HResult kNotImplemented = static_cast<HResult>(0x80004001u);
constexpr HResult kFail = static_cast<HResult>(0x80004005u);
constexpr HResult kInvalidArg = static_cast<HResult>(0x80070057u);
constexpr HResult kClassNotRegistered = static_cast<HResult>(0x80040154u);
}  // namespace hresult

}  // namespace vw
