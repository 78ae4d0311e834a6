#pragma once

#include <cstddef>
#include <vector>

#include "platform/ui.h"

namespace vw {

// The wash window's controls, in the order of its layout table.
enum class Ctl : std::size_t {
    lblCaption,
    lblChkFindHistory,
    lblChkRunHistory,
    lblChkDocumentHistory,
    lblChkScanTempFiles,
    lblChkTempFiles,
    lblChkMediaPlayer,
    lblChkRecycleBin,
    lblChkIE,
    lblChkMSOfficeTrack,
    lblChkNetscape,
    ProgressBar1,
    imgExit,
    lblExit,
    Drive1,
    kCount
};

constexpr std::size_t Index(Ctl c) {
    return static_cast<std::size_t>(c);
}

// The window's size after its load step, in twips.
constexpr int kWashWindowWidth = 4590;
constexpr int kWashWindowHeight = 2760;
// The larger client area the controls are laid out on when it is made.
constexpr int kWashWindowMadeWidth = 4680;
constexpr int kWashWindowMadeHeight = 3315;

// Indexed by Ctl.
const std::vector<ControlLayout>& WashWindowLayout();

}  // namespace vw
