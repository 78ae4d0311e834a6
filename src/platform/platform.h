#pragma once

#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/ui.h"
#include "platform/url_cache.h"
#include "platform/url_history.h"

namespace vw {

// Everything the core may ask of the platform. A backend owns the parts and
// hands out this view; the core never reaches the platform another way.
struct Platform {
    ProfileReader& profile;
    Shell& shell;
    Process& process;
    FileSystem& files;
    Ui& ui;
    Registry& registry;
    UrlCache& urlCache;
    UrlHistory& urlHistory;
};

}  // namespace vw
