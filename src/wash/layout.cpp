#include "wash/layout.h"

namespace vw {

namespace {
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
}  // namespace

const std::vector<ControlLayout>& WashWindowLayout() {
    // Twips, as laid out for display on a 15-twips-per-pixel screen.
    static const std::vector<ControlLayout> layout = {
        {"lblCaption", ControlKind::kLabel, "Wash in Progrss", -75, 120, 1185, 195, true, kBlack},
        {"lblChkFindHistory", ControlKind::kLabel, "  Windows Find/Search History", 240, 480, 2205,
         195, false, kBlack},
        {"lblChkRunHistory", ControlKind::kLabel, "  Windows Run History", 2505, 480, 1620, 195,
         false, kBlack},
        {"lblChkDocumentHistory", ControlKind::kLabel, "  Document History", 240, 765, 1350, 195,
         false, kBlack},
        {"lblChkScanTempFiles", ControlKind::kLabel, "  Scandisk Temp Files", 2505, 765, 1560, 195,
         false, kBlack},
        {"lblChkTempFiles", ControlKind::kLabel, "  Temporary Files Directory", 240, 1050, 1875,
         195, false, kBlack},
        {"lblChkMediaPlayer", ControlKind::kLabel, "  Windows Media Player", 2505, 1050, 1710, 195,
         false, kBlack},
        {"lblChkRecycleBin", ControlKind::kLabel, "  Recycle Bin", 240, 1335, 945, 195, false,
         kBlack},
        {"lblChkIE", ControlKind::kLabel, "  Internet Explorer", 2505, 1335, 1245, 195, false,
         kBlack},
        {"lblChkMSOfficeTrack", ControlKind::kLabel, "  MS-Office Tracks", 240, 1620, 1455, 195,
         false, kBlack},
        {"lblChkNetscape", ControlKind::kLabel, "  Netscape", 2505, 1620, 780, 195, false, kBlack},
        {"ProgressBar1", ControlKind::kProgressBar, "", 270, 1920, 4095, 255, true, kBlack},
        {"imgExit", ControlKind::kImage, "", 240, 2280, 1395, 345, true, kBlack},
        {"lblExit", ControlKind::kLabel, "Exit", 795, 2355, 285, 195, true, kWhite},
        {"Drive1", ControlKind::kDriveList, "", 2040, 2880, 1575, 315, false, kBlack},
    };
    return layout;
}

}  // namespace vw
