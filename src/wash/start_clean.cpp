#include "common/settings.h"
#include "wash/frm_wash.h"

namespace vw {

const std::vector<frmWash::RunStep>& frmWash::RunSteps() {
    const char* kStd = section::kStandardOptions;
    // The fixed order of the run.
    static const std::vector<RunStep> kRun = {
        {kStd, "FindHistory", false, [](frmWash& f) { f.WashFindHistory(); },
         Ctl::lblChkFindHistory},
        {kStd, "DocumentHistory", false, [](frmWash& f) { f.ClearDocumentHistory(); },
         Ctl::lblChkDocumentHistory},
        {kStd, "RunHistory", false, [](frmWash& f) { f.WashRunHistory(); }, Ctl::lblChkRunHistory},
        {kStd, "RecycleBin", false, [](frmWash& f) { f.WashRecycleBin("", true, true, true); },
         Ctl::lblChkRecycleBin},
        {kStd, "MediaPlayer", false, [](frmWash& f) { f.WashMediaPlayer(); },
         Ctl::lblChkMediaPlayer},
        {kStd, "TempFiles", false, [](frmWash& f) { f.WashTempFiles(); }, Ctl::lblChkTempFiles},
        {kStd, "ScanTempFiles", false, [](frmWash& f) { f.WashScandiskFiles(); },
         Ctl::lblChkScanTempFiles},
        {kStd, "MSOfficeTrack", false, [](frmWash& f) { f.WashOfficeTracks(); },
         Ctl::lblChkMSOfficeTrack},
        {kStd, "IE", false, [](frmWash& f) { f.WashInternetExplorer(); }, Ctl::lblChkIE},
        {section::kWashOptions, "SkipAllCustomWashItems", true,
         [](frmWash& f) { f.WashCustomItems(); }, Ctl::lblCaption},
        {kStd, "Netscape", false, [](frmWash& f) { f.WashNetscape(); }, Ctl::lblChkNetscape},
    };
    return kRun;
}

void frmWash::StartClean() {
    const char* kStd = section::kStandardOptions;
    for (const RunStep& step : RunSteps()) {
        const bool isOne = Setting(step.section, step.key) == "1";
        if (isOne != step.skipSwitch) step.action(*this);
        StepProgress(step.label);
    }

    // Read again: the file may have changed during the run.
    if (Setting(kStd, "RunHistory") == "1" &&
        Setting(section::kWashOptions, "SkipMessages") != "1") {
        platform_.ui.ShowMessage("Please logoff the machine for effect in Run History.", kAppTitle,
                                 mb::kOk | mb::kIconInformation);
    }
}

}  // namespace vw
