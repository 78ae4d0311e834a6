#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vw::fuzz {

// A broken promise is a finding: libFuzzer keeps the input that caused it.
inline void Require(bool holds, const std::string& promise) {
    if (!holds) std::fprintf(stderr, "broken promise: %s\n", promise.c_str()), std::abort();
}

// What the target promises of one input; each target defines it.
void Check(const std::string& input);

}  // namespace vw::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vw::fuzz::Check(std::string(reinterpret_cast<const char*>(data), size)), 0;
}
