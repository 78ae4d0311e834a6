#pragma once

#include <windows.h>

#include <vector>

#include "platform/ui.h"
#include "platform/win32/handles.h"

namespace vw::win32 {

// A hidden borderless top-level window with one child window per layout
// entry: labels and the image as STATIC controls, the progress bar as a
// common-controls progress bar (0..100), the drive list as a drop-down list
// combo box filled with the machine's drives. Nothing here shows the window.
class Win32WindowView final : public WindowView {
  public:
    // Raises RunError when the window or one of its controls cannot be made.
    Win32WindowView(const std::vector<ControlLayout>& layout, int widthTwips, int heightTwips);

    void Resize(int widthTwips, int heightTwips) override;
    void SetControlVisible(std::size_t control, bool visible) override;
    void SetProgress(std::size_t control, float value) override;
    void SetBarColour(std::size_t control, std::uint32_t colour) override;
    std::vector<std::string> DriveEntries(std::size_t control) override;

    // The control's own window, for tests that look at it from outside.
    HWND Control(std::size_t control) const;

  private:
    int dpiX_ = 96;
    int dpiY_ = 96;
    UniqueWindow window_;         // destroying it destroys the controls
    std::vector<HWND> controls_;  // indexed like the layout
};

}  // namespace vw::win32
