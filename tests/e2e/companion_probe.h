#pragma once

namespace vw::e2e {

// The runner holds this event set-less for the whole run: a probe started
// by it stays until the run has ended (30 s at most), so a run that waited
// for its companion would not end in time.
constexpr char kProbeRelease[] = "VantrixWash.E2E.ProbeRelease";

}  // namespace vw::e2e
