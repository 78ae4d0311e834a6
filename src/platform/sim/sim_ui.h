#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_faults.h"
#include "platform/ui.h"

namespace vw::sim {

// What a simulated window shows; it outlives the window so a test can look
// at it after the unload.
struct SimWindowState {
    std::vector<ControlLayout> layout;
    std::vector<bool> visible;
    float progress = 0.0f;
    int widthTwips = 0;
    int heightTwips = 0;
    bool shown = false;  // nothing may ever set it
    bool destroyed = false;
};

struct SimMessageBox {
    std::string text;
    std::string caption;
    std::uint32_t type;
};

class SimUi : public Ui {
  public:
    SimUi(SimFaults& faults, Journal& journal) : faults_(faults), journal_(journal) {}

    std::vector<std::string> drives = {"a:", "c: [SYSTEM]", "d:"};
    std::vector<std::shared_ptr<SimWindowState>> windows;
    std::vector<SimMessageBox> boxes;
    int answer = mb::kIdOk;
    // Runs while pending messages are processed: what another program or
    // the user may do while the run yields.
    std::function<void()> onDoEvents;

    std::unique_ptr<WindowView> CreateHiddenWindow(const std::vector<ControlLayout>& layout,
                                                   int widthTwips, int heightTwips) override;
    std::intptr_t SendMessageA(std::uintptr_t window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) override;
    void DoEvents() override;
    int MessageBoxA(const std::string& text, const std::string& caption,
                    std::uint32_t type) override;

  private:
    SimFaults& faults_;
    Journal& journal_;
};

}  // namespace vw::sim
