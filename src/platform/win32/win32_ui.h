#pragma once

#include "platform/ui.h"

namespace vw::win32 {

class Win32Ui final : public Ui {
  public:
    std::unique_ptr<WindowView> CreateHiddenWindow(const std::vector<ControlLayout>& layout,
                                                   int widthTwips, int heightTwips) override;
    std::intptr_t SendMessageA(std::uintptr_t window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) override;
    void DoEvents() override;
    int MessageBoxA(const std::string& text, const std::string& caption,
                    std::uint32_t type) override;
};

}  // namespace vw::win32
