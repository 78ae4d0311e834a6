#pragma once

namespace vw::e2e {

// When the test made this event, the probe stays until it is set (30 s at
// most), so the test can see whether the probe's starter waited for it.
constexpr char kProbeRelease[] = "VantrixWash.E2E.ProbeRelease";
// Written beside the probe: its show command (-1 when none was given) on the
// first line, its command line on the second, then "ended" once it goes.
constexpr char kProbeRecord[] = "probe.txt";

}  // namespace vw::e2e
