#include "platform/sim/sim_ui.h"

#include <cstdio>

namespace vw::sim {

namespace {

// Control handles are the control's index plus this, so a message names the
// control it went to.
constexpr std::uintptr_t kHandleBase = 0x1000;

class SimWindowView : public WindowView {
  public:
    SimWindowView(std::shared_ptr<SimWindowState> state, const std::vector<std::string>& drives,
                  Journal& journal)
        : state_(std::move(state)), drives_(drives), journal_(journal) {}
    ~SimWindowView() override {
        state_->destroyed = true;
        journal_.push_back("unload");
    }

    void Resize(int widthTwips, int heightTwips) override {
        state_->widthTwips = widthTwips;
        state_->heightTwips = heightTwips;
    }
    void SetControlVisible(std::size_t control, bool visible) override {
        state_->visible.at(control) = visible;
        journal_.push_back(std::string(visible ? "show " : "hide ") + state_->layout[control].name);
    }
    void SetProgress(std::size_t control, float value) override {
        (void)state_->layout.at(control);
        state_->progress = value;
        char text[32];
        std::snprintf(text, sizeof text, "progress %g", static_cast<double>(value));
        journal_.push_back(text);
    }
    std::uintptr_t ControlHandle(std::size_t control) override {
        (void)state_->layout.at(control);
        return kHandleBase + control;
    }
    std::vector<std::string> DriveEntries(std::size_t control) override {
        return state_->layout.at(control).kind == ControlKind::kDriveList
                   ? drives_
                   : std::vector<std::string>{};
    }

  private:
    std::shared_ptr<SimWindowState> state_;
    std::vector<std::string> drives_;
    Journal& journal_;
};

}  // namespace

std::unique_ptr<WindowView> SimUi::CreateHiddenWindow(const std::vector<ControlLayout>& layout,
                                                      int widthTwips, int heightTwips) {
    journal_.push_back("load");
    faults_.Check("CreateHiddenWindow");
    auto state = std::make_shared<SimWindowState>();
    state->layout = layout;
    for (const auto& control : layout) state->visible.push_back(control.visible);
    state->widthTwips = widthTwips;
    state->heightTwips = heightTwips;
    windows.push_back(state);
    return std::make_unique<SimWindowView>(state, drives, journal_);
}

std::intptr_t SimUi::SendMessageA(std::uintptr_t window, std::uint32_t message,
                                  std::uintptr_t wParam, std::intptr_t lParam) {
    char text[96];
    std::snprintf(text, sizeof text, "message 0x%x to %s wParam %ju lParam 0x%jx", message,
                  window >= kHandleBase && !windows.empty() &&
                          window - kHandleBase < windows.back()->layout.size()
                      ? windows.back()->layout[window - kHandleBase].name
                      : "?",
                  static_cast<std::uintmax_t>(wParam), static_cast<std::uintmax_t>(lParam));
    journal_.push_back(text);
    faults_.Check("SendMessageA");
    return 0;
}

void SimUi::DoEvents() {
    journal_.push_back("doevents");
    faults_.Check("DoEvents");
    if (onDoEvents) onDoEvents();
}

int SimUi::MessageBoxA(const std::string& text, const std::string& caption, std::uint32_t type) {
    // Recorded as the platform shows it.
    const std::string shownText = ShownBoxText(text), shownCaption = ShownBoxText(caption);
    journal_.push_back("box " + shownCaption + ": " + shownText);
    boxes.push_back({shownText, shownCaption, type});
    return answer;
}

}  // namespace vw::sim
