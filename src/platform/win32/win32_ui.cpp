#include "platform/win32/win32_ui.h"

#include <windows.h>

#include "platform/win32/wide.h"
#include "platform/win32/win32_window_view.h"

namespace vw::win32 {

std::unique_ptr<WindowView> Win32Ui::CreateHiddenWindow(const std::vector<ControlLayout>& layout,
                                                        int widthTwips, int heightTwips) {
    return std::make_unique<Win32WindowView>(layout, widthTwips, heightTwips);
}

void Win32Ui::DoEvents() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

int Win32Ui::ShowMessage(const std::string& text, const std::string& caption, std::uint32_t type) {
    // ShownBoxText always gives UTF-8 without a NUL, which always converts.
    std::wstring wideText, wideCaption;
    ToWide(ShownBoxText(text), wideText);
    ToWide(ShownBoxText(caption), wideCaption);
    return ::MessageBoxW(nullptr, wideText.c_str(), wideCaption.c_str(), type);
}

}  // namespace vw::win32
