#pragma once

#include <optional>
#include <vector>

#include "platform/platform.h"
#include "platform/run_error.h"
#include "preview/change_log.h"

namespace vw::preview {

// What a wash of this machine would do, as a preview found it.
struct PreviewResult {
    ChangeLog log;
    // The run-time failure that would end the run, and the item it ends at.
    std::optional<RunError> ended;
    int endStep = 0;
    // By item, from the first: whether Local.Ini switches it on.
    std::vector<bool> switchedOn;
};

// The wash's own path after its instance check, over `real` with every
// change held back. The caller takes the instance first, as the wash does.
PreviewResult RunPreview(Platform& real);

}  // namespace vw::preview
