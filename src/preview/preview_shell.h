#pragma once

#include <set>
#include <string>

#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "platform/ui.h"
#include "preview/change_log.h"

namespace vw::preview {

// The shell's lists, held back: what emptying would remove is counted.
class PreviewShell : public Shell {
  public:
    PreviewShell(Shell& real, ChangeLog& log) : real_(real), log_(log) {}

    void ClearRecentDocuments() override;
    // Answers as the shell would: 0 when the bin held something, else
    // E_FAIL (or the shell's own failure from counting it).
    long EmptyRecycleBin(const std::string& rootPath, std::uint32_t flags) override;
    RecycleBinCount QueryRecycleBin(const std::string& rootPath) override;

  private:
    Shell& real_;
    ChangeLog& log_;
    std::set<std::string> emptied_;  // "" for every drive
};

// Windows and boxes: the window is the real one (hidden, as in the wash), its
// done-markers tell the log where an item ends; boxes are recorded, never
// shown, and answered with OK.
class PreviewUi : public Ui {
  public:
    PreviewUi(Ui& real, ChangeLog& log) : real_(real), log_(log) {}

    std::unique_ptr<WindowView> CreateHiddenWindow(const std::vector<ControlLayout>& layout,
                                                   int widthTwips, int heightTwips) override;
    void DoEvents() override { real_.DoEvents(); }
    int ShowMessage(const std::string& text, const std::string& caption,
                    std::uint32_t type) override;

  private:
    Ui& real_;
    ChangeLog& log_;
};

// The program's own facts from the real process; a start is recorded, and
// refused as the platform would refuse it when the program file is missing.
class PreviewProcess : public Process {
  public:
    PreviewProcess(Process& real, FileSystem& files, ChangeLog& log)
        : real_(real), files_(files), log_(log) {}

    bool AnotherInstanceRunning() override { return real_.AnotherInstanceRunning(); }
    std::string ProgramFolder() override { return real_.ProgramFolder(); }
    std::uint32_t StartProgram(const std::string& path, int showCommand) override;

  private:
    Process& real_;
    FileSystem& files_;
    ChangeLog& log_;
};

}  // namespace vw::preview
