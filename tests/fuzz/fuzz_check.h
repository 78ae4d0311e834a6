#pragma once

#include <cstdio>
#include <cstdlib>

namespace vw::fuzz {

// A broken promise is a finding: libFuzzer keeps the input that caused it.
inline void Require(bool holds, const char* promise) {
    if (holds) return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

}  // namespace vw::fuzz
