#include "preview/change_log.h"

#include "wash/frm_wash.h"

namespace vw::preview {

std::size_t ItemCount() {
    return frmWash::RunSteps().size();
}

std::string ItemName(int step) {
    const auto& steps = frmWash::RunSteps();
    if (step < 1 || static_cast<std::size_t>(step) > steps.size()) return "end of run";
    const Ctl label = steps[static_cast<std::size_t>(step) - 1].label;
    // The custom lists mark their step on the title label, which names no item.
    if (label == Ctl::lblCaption) return "Custom Wash Items";
    std::string caption = WashWindowLayout()[Index(label)].caption;
    return caption.substr(caption.find_first_not_of(' '));
}

Change& ChangeLog::Record(const char* what, std::string target,
                          std::optional<std::uint64_t> bytes) {
    Change change;
    change.step = step_;
    change.action = what;
    change.target = std::move(target);
    change.bytes = bytes;
    return changes_.emplace_back(std::move(change));
}

void ChangeLog::RecordBox(std::string text, std::string caption, std::uint32_t type) {
    boxes_.push_back({step_, std::move(text), std::move(caption), type});
}

void ChangeLog::ControlShown(std::size_t control) {
    const auto& steps = frmWash::RunSteps();
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (Index(steps[i].label) == control) step_ = static_cast<int>(i) + 2;
    }
}

}  // namespace vw::preview
