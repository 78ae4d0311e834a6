#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/handles.h"

namespace vw::e2e {

// One start of the product from its own folder C:\e2e\<name>, which holds a
// copy of vantrixwash.exe (taken from beside this test program) and the
// scenario's Local.Ini. The folder goes with the scenario.
class Scenario {
  public:
    explicit Scenario(const std::string& name);
    // Ends the process if it still runs, then removes the folder.
    ~Scenario();
    Scenario(const Scenario&) = delete;
    Scenario& operator=(const Scenario&) = delete;

    // False when the exe could not be copied in; the reason is in Problem().
    bool Ready() const { return problem_.empty(); }
    const std::string& Problem() const { return problem_; }
    const std::string& Folder() const { return folder_; }
    std::string IniPath() const { return folder_ + "\\Local.Ini"; }

    // Writes Local.Ini beside the exe copy, hidden when asked.
    bool WriteIni(const std::string& text, bool hidden = false);

    bool Start();
    DWORD Pid() const { return pid_; }

    // The exit code, or nothing while the process still runs after timeoutMs.
    std::optional<DWORD> Wait(DWORD timeoutMs);
    // Start, then Wait; nothing also when the start failed.
    std::optional<DWORD> Run(DWORD timeoutMs);
    // From Start to the exit Wait observed, or to now while it runs.
    ULONGLONG ElapsedMs() const;

  private:
    std::string folder_;
    std::string exe_;
    std::string problem_;
    win32::UniqueKernelHandle process_;
    DWORD pid_ = 0;
    ULONGLONG startedAt_ = 0;
    std::optional<ULONGLONG> exitedAt_;
};

}  // namespace vw::e2e
