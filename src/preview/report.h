#pragma once

#include <ostream>

#include "preview/preview_run.h"

namespace vw::preview {

// The report for a reader: per item in run order whether it is switched on
// and what it would remove (the files of a folder that goes with it summed
// into the folder's line), then the boxes, then how the run would end, and
// last what a preview cannot know.
void WriteTextReport(const PreviewResult& result, std::ostream& out);

// The machine form: one JSON object per line, one per change, one per box,
// and a last one for the end of the run.
void WriteJsonReport(const PreviewResult& result, std::ostream& out);

}  // namespace vw::preview
