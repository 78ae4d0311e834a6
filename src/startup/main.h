#pragma once

#include "platform/platform.h"

namespace vw {

// The program's entry: refuses to run beside another instance, locates
// Local.Ini beside the executable, has the hidden wash window make one wash
// run and unloads it. No failure leaves it: a fault that is no run-time
// failure ends the program as quietly as one that ends the run.
void Main(Platform& platform) noexcept;

}  // namespace vw
