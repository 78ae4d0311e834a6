#pragma once

#include "platform/platform.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_ui.h"
#include "platform/win32/win32_url_cache.h"
#include "platform/win32/win32_url_history.h"

namespace vw::win32 {

// The real platform: owns one of each part and hands out the core's view.
class Win32Platform {
  public:
    Win32Platform() = default;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    Platform& Get() noexcept { return platform_; }

  private:
    Win32ProfileReader profile_;
    Win32Shell shell_;
    Win32Process process_;
    Win32FileSystem files_;
    Win32Ui ui_;
    Win32Registry registry_;
    Win32UrlCache urlCache_;
    Win32UrlHistory urlHistory_;
    Platform platform_{profile_, shell_,    process_,  files_,
                       ui_,      registry_, urlCache_, urlHistory_};  // after the parts
};

}  // namespace vw::win32
