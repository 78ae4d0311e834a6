#include "preview/preview_shell.h"

#include "platform/file_system.h"
#include "platform/run_error.h"
#include "preview/preview_files.h"

namespace vw::preview {

namespace {

// The real window, with its done-markers reported to the log.
class MarkedView : public WindowView {
  public:
    MarkedView(std::unique_ptr<WindowView> real, ChangeLog& log)
        : real_(std::move(real)), log_(log) {}

    void Resize(int widthTwips, int heightTwips) override {
        real_->Resize(widthTwips, heightTwips);
    }
    void SetControlVisible(std::size_t control, bool visible) override {
        real_->SetControlVisible(control, visible);
        if (visible) log_.ControlShown(control);
    }
    void SetProgress(std::size_t control, float value) override {
        real_->SetProgress(control, value);
    }
    void SetBarColour(std::size_t control, std::uint32_t colour) override {
        real_->SetBarColour(control, colour);
    }
    std::vector<std::string> DriveEntries(std::size_t control) override {
        return real_->DriveEntries(control);
    }

  private:
    std::unique_ptr<WindowView> real_;
    ChangeLog& log_;
};

}  // namespace

void PreviewShell::ClearRecentDocuments() {
    log_.Record(action::kClearDocumentHistory, "recent documents");
}

long PreviewShell::EmptyRecycleBin(const std::string& rootPath, std::uint32_t) {
    const RecycleBinCount bin = QueryRecycleBin(rootPath);
    if (bin.status == hresult::kInvalidArg || (bin.status >= 0 && bin.items == 0)) {
        return bin.status >= 0 ? hresult::kFail : bin.status;
    }
    Change& change =
        log_.Record(action::kEmptyRecycleBin, rootPath.empty() ? "every drive" : rootPath);
    // A bin the shell cannot count is emptied all the same, by an unknown amount.
    if (bin.status >= 0) {
        change.count = bin.items;
        change.bytes = bin.bytes;
    }
    emptied_.insert(PathKey(rootPath));
    return 0;
}

RecycleBinCount PreviewShell::QueryRecycleBin(const std::string& rootPath) {
    const RecycleBinCount bin = real_.QueryRecycleBin(rootPath);
    if (bin.status >= 0 && (emptied_.count("") || emptied_.count(PathKey(rootPath)))) {
        return {bin.status, 0, 0};
    }
    return bin;
}

std::unique_ptr<WindowView> PreviewUi::CreateHiddenWindow(const std::vector<ControlLayout>& layout,
                                                          int widthTwips, int heightTwips) {
    return std::make_unique<MarkedView>(real_.CreateHiddenWindow(layout, widthTwips, heightTwips),
                                        log_);
}

int PreviewUi::ShowMessage(const std::string& text, const std::string& caption,
                           std::uint32_t type) {
    log_.RecordBox(ShownBoxText(text), ShownBoxText(caption), type);
    return mb::kIdOk;
}

std::uint32_t PreviewProcess::StartProgram(const std::string& path, int) {
    const EntryProbe probe = files_.ProbeEntry(path);
    const bool missing = probe.error == errnum::kFileNotFound ||
                         probe.error == errnum::kPathNotFound ||
                         probe.error == errnum::kBadFileName;
    if (missing) throw RunError(errnum::kFileNotFound, "File not found");
    if (probe.attributes & attr::kDirectory) {
        throw RunError(errnum::kPathFileAccessError, "Path/File access error");
    }
    log_.Record(action::kStartProgram, path);
    return 0;  // no process is started, so none has an id
}

}  // namespace vw::preview
