#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/process.h"
#include "platform/win32/handles.h"

namespace vw::win32 {

// The running program, told apart from other instances by a named mutex that
// lives as long as this object.
class Win32Process final : public Process {
  public:
    static constexpr const char* kInstanceMutexName = "VantrixWash.SingleInstance";

    // `mutexName` exists so that tests can claim an instance without
    // standing in the way of the program itself.
    explicit Win32Process(std::string mutexName = kInstanceMutexName)
        : mutexName_(std::move(mutexName)) {}

    bool AnotherInstanceRunning() override;
    std::string ProgramFolder() override;
    std::uint32_t StartProgram(const std::string& path, int showCommand) override;

  private:
    std::string mutexName_;
    UniqueKernelHandle mutex_;
    bool claimed_ = false;
    bool another_ = false;
};

// The folder part of a full file path: no trailing "\" unless it is the root
// of a drive ("C:\"). A path without "\" gives the empty string.
std::string FolderOf(const std::string& path);

}  // namespace vw::win32
