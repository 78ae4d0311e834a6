#include "platform/win32/win32_process.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace vw::win32 {
namespace {

std::string TestMutexName() {
    return "VantrixWash.Test." + std::to_string(::GetCurrentProcessId());
}

// The system reports an existing mutex to its own process too, so one
// process can stand in for two instances.
TEST(Win32Process, SecondInstanceSeesTheFirstUntilItEnds) {
    {
        Win32Process first(TestMutexName());
        EXPECT_FALSE(first.AnotherInstanceRunning());
        EXPECT_FALSE(first.AnotherInstanceRunning()) << "the answer must not change";
        Win32Process second(TestMutexName());
        EXPECT_TRUE(second.AnotherInstanceRunning());
    }
    Win32Process later(TestMutexName());
    EXPECT_FALSE(later.AnotherInstanceRunning()) << "the mutex outlived its owners";
}

TEST(Win32Process, ProgramFolderHoldsTheRunningExecutable) {
    const std::string folder = Win32Process().ProgramFolder();
    ASSERT_GE(folder.size(), 3u);
    if (folder.size() > 3) {
        EXPECT_NE(folder.back(), '\\');
    }

    char self[MAX_PATH * 4] = {};
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string exe = std::string(self).substr(std::string(self).find_last_of('\\') + 1);
    const std::string glue = folder.back() == '\\' ? "" : "\\";
    EXPECT_NE(::GetFileAttributesA((folder + glue + exe).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Win32Process, FolderOfKeepsTheRootOfADrive) {
    EXPECT_EQ(FolderOf("C:\\vantrixwash.exe"), "C:\\");
    EXPECT_EQ(FolderOf("C:\\bin\\vantrixwash.exe"), "C:\\bin");
    EXPECT_EQ(FolderOf("x.exe"), "");
}

}  // namespace
}  // namespace vw::win32
