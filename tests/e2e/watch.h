#pragma once

#include <windows.h>

#include <optional>

#include "scenario.h"

namespace vw::e2e {

// Time limits of the scenarios. A run with nothing to wash ends in well under
// a second under Wine; the limits leave room for a loaded machine.
constexpr DWORD kPromptMs = 5000;    // "at once", "within a few seconds"
constexpr DWORD kBoxShowMs = 10000;  // start to a shown box

struct Watched {
    std::optional<DWORD> exitCode;  // nothing: still running at the limit
    bool boxShown = false;
};

// Waits up to timeoutMs for the started scenario to end, looking for any box
// of it meanwhile; stops early when one shows, as nobody will press its OK.
Watched WatchUntilExit(Scenario& run, DWORD timeoutMs);

}  // namespace vw::e2e
