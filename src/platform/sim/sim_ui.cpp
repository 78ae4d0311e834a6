#include "platform/sim/sim_ui.h"

namespace vw::sim {

namespace {

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

}  // namespace

std::unique_ptr<WindowView> SimUi::CreateHiddenWindow(const std::vector<ControlLayout>& layout,
                                                      int widthTwips, int heightTwips) {
    journal_.push_back("load");
    faults_.Check("CreateHiddenWindow");
    windows.push_back(
        std::make_shared<SimWindow>(SimWindow{layout, drives, {widthTwips, heightTwips}}));
    return std::make_unique<SimWindowView>(windows.back(), journal_);
}

}  // namespace vw::sim
