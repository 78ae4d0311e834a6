#pragma once

#include "platform/platform.h"

namespace vw {

// Empties the URL cache of its ordinary entries: walks every content entry
// and deletes those whose type has the normal bit, whatever other bits are
// set with it. Reports nothing and never raises; an entry that cannot be
// deleted stays, and a fetch that fails ends the walk there.
void DeleteCacheURLList(Platform& platform);

}  // namespace vw
