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

// A window of the machine; its state stays in the SimWindow.
class SimWindowView : public WindowView {
  public:
    SimWindowView(std::shared_ptr<SimWindow> window, Journal& journal)
        : w_(std::move(window)), journal_(journal) {}
    ~SimWindowView() override { journal_.push_back("unload"); }

    void Resize(int width, int height) override { w_->sizeTwips = {width, height}; }
    void SetControlVisible(std::size_t control, bool visible) override {
        journal_.push_back((visible ? "show " : "hide ") + Name(control));
        w_->controls[control].visible = visible;
    }
    void SetProgress(std::size_t control, float value) override {
        journal_.push_back("progress " + Name(control) + " " + std::to_string(value));
        w_->progress = value;
    }
    void SetBarColour(std::size_t control, std::uint32_t colour) override {
        journal_.push_back("colour " + Name(control) + " " + std::to_string(colour));
        w_->barColour = colour;
    }
    std::vector<std::string> DriveEntries(std::size_t control) override {
        const bool isList = w_->controls.at(control).kind == ControlKind::kDriveList;
        return isList ? w_->drives : std::vector<std::string>{};
    }

  private:
    std::string Name(std::size_t control) const { return w_->controls.at(control).name; }

    std::shared_ptr<SimWindow> w_;
    Journal& journal_;
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
                                                   int widthTwips, int heightTwips) override {
        journal_.push_back("load");
        faults_.Check("CreateHiddenWindow");
        windows.push_back(
            std::make_shared<SimWindow>(SimWindow{layout, drives, {widthTwips, heightTwips}}));
        return std::make_unique<SimWindowView>(windows.back(), journal_);
    }
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
