#include "startup/main.h"

#include <memory>

#include "platform/run_error.h"
#include "startup/ini_path.h"
#include "wash/frm_wash.h"

namespace vw {

std::optional<RunError> WashOnce(Platform& platform) {
    std::string path;
    ResumeNext([&] { path = platform.process.ProgramFolder() + "\\Local.Ini"; });
    // A hidden or system Local.Ini is not found: a normal-attribute search.
    ResumeNext([&] {
        if (!platform.files.List(path, attr::kNormal).Next().empty()) IniPath = path;
    });

    // First use creates and loads the window; a failure there or anywhere in
    // the run skips the rest of this statement, as the run's end does.
    std::unique_ptr<frmWash> form;
    std::optional<RunError> ended;
    try {
        form = std::make_unique<frmWash>(platform);
        form->StartClean();
    } catch (const RunError& e) {
        ended = e;
    }
    ResumeNext([&] { form.reset(); });
    return ended;
}

void Main(Platform& platform) noexcept {
    try {
        if (!platform.process.AnotherInstanceRunning()) WashOnce(platform);
    } catch (...) {
        // No run-time failure of the model, a fault: an unattended run still
        // ends quietly, the window unloaded on the way out, never in a crash
        // dialog.
    }
}

}  // namespace vw
