#pragma once

#include "platform/platform.h"
#include "preview/change_log.h"
#include "preview/preview_files.h"
#include "preview/preview_registry.h"
#include "preview/preview_shell.h"
#include "preview/preview_web.h"

namespace vw::preview {

// Any platform with every change held back and recorded in `log`; reads go
// to `real`, settings are read from it unchanged.
class PreviewPlatform {
  public:
    PreviewPlatform(Platform& real, ChangeLog& log)
        : files_(real.files, log),
          registry_(real.registry, log),
          shell_(real.shell, log),
          ui_(real.ui, log),
          process_(real.process, files_, log),
          cache_(real.urlCache, log),
          history_(real.urlHistory, log),
          view_{real.profile, shell_, process_, files_, ui_, registry_, cache_, history_} {}
    PreviewPlatform(const PreviewPlatform&) = delete;
    PreviewPlatform& operator=(const PreviewPlatform&) = delete;

    Platform& Get() noexcept { return view_; }

  private:
    PreviewFileSystem files_;
    PreviewRegistry registry_;
    PreviewShell shell_;
    PreviewUi ui_;
    PreviewProcess process_;
    PreviewUrlCache cache_;
    PreviewUrlHistory history_;
    Platform view_;  // after the parts
};

}  // namespace vw::preview
