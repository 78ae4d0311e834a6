#include "startup/main.h"

#include <memory>

#include "platform/run_error.h"
#include "startup/ini_path.h"
#include "wash/frm_wash.h"

namespace vw {

namespace {

void Run(Platform& platform) {
    if (platform.process.AnotherInstanceRunning()) return;

    std::string path;
    ResumeNext([&] { path = platform.process.ProgramFolder() + "\\Local.Ini"; });
    // A hidden or system Local.Ini is not found: a normal-attribute search.
    ResumeNext([&] {
        if (!platform.files.List(path, attr::kNormal).Next().empty()) IniPath = path;
    });

    // First use creates and loads the window; a failure there or anywhere in
    // the run skips the rest of this statement, as the run's end does.
    std::unique_ptr<frmWash> form;
    ResumeNext([&] {
        form = std::make_unique<frmWash>(platform);
        form->StartClean();
    });
    ResumeNext([&] { form.reset(); });
}

}  // namespace

void Main(Platform& platform) noexcept {
    try {
        Run(platform);
    } catch (...) {
        // No run-time failure of the model, a fault: an unattended run still
        // ends quietly, the window unloaded on the way out, never in a crash
        // dialog.
    }
}

}  // namespace vw
