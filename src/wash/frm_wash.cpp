#include "wash/frm_wash.h"

#include <algorithm>

#include "common/read_ini.h"
#include "platform/run_error.h"
#include "startup/ini_path.h"

namespace vw {

frmWash::frmWash(Platform& platform) : platform_(platform) {
    const auto& layout = WashWindowLayout();
    std::transform(layout.begin(), layout.end(), visible_.begin(),
                   [](const ControlLayout& c) { return c.visible; });
    // The load step sets the real size.
    view_ = platform_.ui.CreateHiddenWindow(layout, kWashWindowMadeWidth, kWashWindowMadeHeight);
    Form_Load();
}

frmWash::~frmWash() = default;

void frmWash::Form_Load() {
    ResumeNext([&] { view_->Resize(kWashWindowWidth, kWashWindowHeight); });
}

std::vector<std::string> frmWash::DriveList() const {
    return view_->DriveEntries(Index(Ctl::Drive1));
}

std::string frmWash::Setting(const char* section, const char* key) const {
    return ReadIni(platform_.profile, section, key, IniPath);
}

void frmWash::StepProgress(Ctl label) {
    if (progressMax_ > progressValue_) {
        progressValue_ = progressValue_ + 9.0f;
        view_->SetProgress(Index(Ctl::ProgressBar1), progressValue_);
        SetProgressBarColor(Ctl::ProgressBar1, WashWindowLayout()[Index(Ctl::lblExit)].textColour);
    }
    visible_[Index(label)] = true;
    view_->SetControlVisible(Index(label), true);
    platform_.ui.DoEvents();
}

void frmWash::SetProgressBarColor(Ctl bar, std::uint32_t colour) {
    view_->SetBarColour(Index(bar), colour);
}

void frmWash::ClearDocumentHistory() {
    platform_.shell.ClearRecentDocuments();
}

}  // namespace vw
