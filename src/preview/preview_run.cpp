#include "preview/preview_run.h"

#include "common/read_ini.h"
#include "preview/preview_platform.h"
#include "startup/ini_path.h"
#include "startup/main.h"
#include "wash/frm_wash.h"

namespace vw::preview {

PreviewResult RunPreview(Platform& real) {
    PreviewResult result;
    {
        PreviewPlatform preview(real, result.log);
        result.ended = WashOnce(preview.Get());
    }
    if (result.ended) result.endStep = result.log.Step();
    for (const frmWash::RunStep& step : frmWash::RunSteps()) {
        const bool isOne = ReadIni(real.profile, step.section, step.key, IniPath) == "1";
        result.switchedOn.push_back(isOne != step.skipSwitch);
    }
    return result;
}

}  // namespace vw::preview
