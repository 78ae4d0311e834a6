#pragma once

#include <functional>

#include "platform/sim/sim_faults.h"
#include "platform/ui.h"

namespace vw::sim {

// What a simulated window shows; it outlives the window so a test can look
// at it after the unload.
struct SimWindow {
    std::vector<ControlLayout> controls;  // as laid out, visible as made since
    std::vector<std::string> drives;      // in the drive list, filled as the window is made
    std::pair<int, int> sizeTwips;
    float progress = 0.0f;
    std::uint32_t barColour = 0;
};

// A box as shown; the user closes each with OK, the only button it has.
struct SimMessageBox {
    std::string text, caption;
    std::uint32_t type;
};

// The machine's windows, boxes and message queue. Loads, control changes,
// yields, boxes and unloads are journaled; a fault armed on
// "CreateHiddenWindow" refuses the window as the system may.
class SimUi : public Ui {
  public:
    SimUi(SimFaults& faults, Journal& journal) : faults_(faults), journal_(journal) {}

    std::vector<std::string> drives = {"a:", "c: [SYSTEM]", "d:"};
    std::vector<std::shared_ptr<SimWindow>> windows;
    std::vector<SimMessageBox> boxes;
    // Runs while pending messages are processed: what another program or
    // the user may do while the run yields.
    std::function<void()> onDoEvents;

    std::unique_ptr<WindowView> CreateHiddenWindow(const std::vector<ControlLayout>& layout,
                                                   int widthTwips, int heightTwips) override;
    void DoEvents() override {
        journal_.push_back("doevents");
        if (onDoEvents) onDoEvents();
    }
    int ShowMessage(const std::string& text, const std::string& caption,
                    std::uint32_t type) override {
        boxes.push_back({ShownBoxText(text), ShownBoxText(caption), type});
        journal_.push_back("box " + boxes.back().caption + ": " + boxes.back().text);
        return mb::kIdOk;
    }

  private:
    SimFaults& faults_;
    Journal& journal_;
};

}  // namespace vw::sim
