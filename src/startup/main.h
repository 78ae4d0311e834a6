#pragma once

#include <optional>

#include "platform/platform.h"
#include "platform/run_error.h"

namespace vw {

// The program's entry: refuses to run beside another instance, locates
// Local.Ini beside the executable, has the hidden wash window make one wash
// run and unloads it. No failure leaves it: a fault that is no run-time
// failure ends the program as quietly as one that ends the run.
void Main(Platform& platform) noexcept;

// What Main does once no other instance runs: locates Local.Ini, has the
// hidden wash window make one run and unloads it. Returns the run-time
// failure that ended the run early (the window's creation included), none
// for a run that went through. A fault that is no run-time failure passes.
std::optional<RunError> WashOnce(Platform& platform);

}  // namespace vw
