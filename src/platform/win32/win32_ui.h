#pragma once

#include "platform/ui.h"

namespace vw::win32 {

// The wide (W) forms of the windowing API behind the seam's UTF-8.
class Win32Ui final : public Ui {
  public:
    std::unique_ptr<WindowView> CreateHiddenWindow(const std::vector<ControlLayout>& layout,
                                                   int widthTwips, int heightTwips) override;
    void DoEvents() override;
    int ShowMessage(const std::string& text, const std::string& caption,
                    std::uint32_t type) override;
};

}  // namespace vw::win32
