#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "wash/layout.h"

namespace vw {

// The wash window: hidden host of the wash run and of every washer. Its
// controls carry the run's state (done-markers, progress value).
class frmWash {
  public:
    // Creates the window hidden and runs its load step.
    explicit frmWash(Platform& platform);
    // Unloads the window: its window and controls are destroyed.
    ~frmWash();
    frmWash(const frmWash&) = delete;
    frmWash& operator=(const frmWash&) = delete;

    // The whole wash run, synchronously. A failure that leaves a washer
    // ends it and passes to the caller.
    void StartClean();

    // One item of the run: its switch, its action and its done-marker.
    struct RunStep {
        const char* section;
        const char* key;
        bool skipSwitch;  // "1" skips the action instead of calling for it
        void (*action)(frmWash&);
        Ctl label;
    };
    // The items in the fixed order of the run.
    static const std::vector<RunStep>& RunSteps();

    bool Visible(Ctl control) const { return visible_[Index(control)]; }
    float ProgressValue() const { return progressValue_; }
    float ProgressMax() const { return progressMax_; }
    std::vector<std::string> DriveList() const;

    // The washers, in the order of the run. Each either passes over its own
    // failures or lets them end the run, as the run's table says.
    void WashFindHistory();
    void WashRunHistory();
    void WashRecycleBin(std::string rootPath, bool noConfirmation, bool noProgressDisplay,
                        bool noSound);
    void WashMediaPlayer();
    std::string GetTempDir();
    void WashTempFiles();
    void WashScandiskFiles();
    void WashOfficeTracks();
    // Empties the URL cache of its ordinary entries.
    void DeleteCacheURLList();
    void WashInternetExplorer();
    void WashCustomItems();
    void WashNetscape();
    // Each washes one profile folder (without trailing "\\").
    void WashNetscapeCache(const std::string& profileDir);
    void WashNetscapeCookies(const std::string& profileDir);
    void WashNetscapeHistory(const std::string& profileDir);
    void WashNetscapeMailTrash(const std::string& profileDir);
    // Overwrites the file in place, block by block, then deletes it.
    void BleachFile(const std::string& path);

  private:
    void Form_Load();
    void StepProgress(Ctl label);
    void SetProgressBarColor(Ctl bar, std::uint32_t colour);
    std::string Setting(const char* section, const char* key) const;

    void ClearDocumentHistory();
    void WashCustomFiles(const std::string& path);

    Platform& platform_;
    std::unique_ptr<WindowView> view_;
    std::array<bool, Index(Ctl::kCount)> visible_{};
    float progressMax_ = 100.0f;
    float progressValue_ = 0.0f;
};

}  // namespace vw
