#pragma once

namespace vw::e2e {

// The runner holds this event unset for the whole run: a probe started by
// the run stays until the run has ended (5 minutes at most, longer than a
// run may take), so a run that waited for its companion would not end.
constexpr char kProbeRelease[] = "VantrixWash.E2E.ProbeRelease";

}  // namespace vw::e2e
