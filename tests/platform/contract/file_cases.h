#pragma once

#include "platform/run_error.h"

namespace vw::contract {

// The run-time error number `statement` raises; 0 when it raises none.
template <typename Statement>
long ErrorOf(Statement&& statement) {
    try {
        statement();
    } catch (const RunError& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace vw::contract
