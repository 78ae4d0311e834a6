#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "text/utf8.h"

namespace vw {

enum class ControlKind { kLabel, kProgressBar, kImage, kDriveList };

// One control of a window as laid out for display; positions in twips.
struct ControlLayout {
    const char* name;
    ControlKind kind;
    const char* caption;
    int left, top, width, height;
    bool visible;
    std::uint32_t textColour;  // RGB, red in the low byte
};

// A window the platform has realised from a layout. It is created hidden and
// is never shown; destroying this object destroys the window and its controls.
// Controls are addressed by their index in the layout. No call raises: once
// made, a window's controls take what they are given. An index outside the
// layout is a bug, not a platform failure: both backends throw
// std::out_of_range for it.
class WindowView {
  public:
    virtual ~WindowView() = default;

    virtual void Resize(int widthTwips, int heightTwips) = 0;
    virtual void SetControlVisible(std::size_t control, bool visible) = 0;
    virtual void SetProgress(std::size_t control, float value) = 0;
    // The colour a progress bar fills with (RGB, red in the low byte).
    virtual void SetBarColour(std::size_t control, std::uint32_t colour) = 0;
    // The entries of a drive list, as it shows them ("c: [label]"), UTF-8;
    // none for a control of another kind.
    virtual std::vector<std::string> DriveEntries(std::size_t control) = 0;
};

// Message-box button and icon flags, and the button that closed a box.
namespace mb {
constexpr std::uint32_t kOk = 0x00;
constexpr std::uint32_t kIconStop = 0x10;
constexpr std::uint32_t kIconInformation = 0x40;
constexpr int kIdOk = 1;
}  // namespace mb

// A box's text as the platform shows it (see Ui::ShowMessage).
inline std::string ShownBoxText(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::u16string units;
    return Utf8ToUtf16(text, units) ? std::string(text) : Latin1ToUtf8(text);
}

// The platform's windowing services. Texts are UTF-8.
class Ui {
  public:
    virtual ~Ui() = default;

    // Creates a borderless window of the given client size with the given
    // controls, never showing it. A progress bar ranges 0 to 100. Raises
    // RunError 7 (out of memory) when the window or one of its controls
    // cannot be made.
    virtual std::unique_ptr<WindowView> CreateHiddenWindow(const std::vector<ControlLayout>& layout,
                                                           int widthTwips, int heightTwips) = 0;

    // Lets every pending window message of the program be processed. Never
    // raises.
    virtual void DoEvents() = 0;

    // A modal box without owner; returns the button that closed it, 0 when
    // no box could be shown. Never raises. A text ends at its first NUL, as
    // a C string does; one that is no UTF-8 is shown as Latin-1 rather than
    // refused (ShownBoxText), so a box is never lost.
    virtual int ShowMessage(const std::string& text, const std::string& caption,
                            std::uint32_t type) = 0;
};

}  // namespace vw
