#include "platform/win32/win32_process.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/win32/wide.h"
#include "platform/win32/win32_ui.h"
#include "scoped_temp_folder.h"

namespace vw::win32 {
namespace {

std::string TestMutexName() {
    return "VantrixWash.Test." + std::to_string(::GetCurrentProcessId());
}

std::wstring Wide(const std::string& utf8) {
    std::wstring wide;
    EXPECT_TRUE(ToWide(utf8, wide)) << utf8;
    return wide;
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
    EXPECT_NE(::GetFileAttributesW(Wide(folder + glue + exe).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Win32Process, FolderOfKeepsTheRootOfADrive) {
    EXPECT_EQ(FolderOf("C:\\vantrixwash.exe"), "C:\\");
    EXPECT_EQ(FolderOf("C:\\bin\\vantrixwash.exe"), "C:\\bin");
    EXPECT_EQ(FolderOf("x.exe"), "");
}

// Started by the next test, in a copy of this program: writes where it
// finds itself to the file the environment names. Does nothing otherwise.
TEST(Win32ProcessChild, ReportsItsProgramFolder) {
    const wchar_t* report = ::_wgetenv(L"VW_PROGRAM_FOLDER_REPORT");
    if (report == nullptr) return;
    const std::string folder = Win32Process().ProgramFolder();
    const UniqueFileHandle h(::CreateFileW(report, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(h && ::WriteFile(h.get(), folder.data(), static_cast<DWORD>(folder.size()),
                                 &written, nullptr));
}

// A folder name no ANSI code page holds: the start and the program's own
// look at its path both keep every character.
TEST(Win32Process, ProgramInANonLatinFolderStartsAndFindsItsFolder) {
    test::ScopedTempFolder temp;
    const std::string folder = temp.Path() + "\\Программа 日本 \xF0\x9F\x98\x80";
    const std::string program = folder + "\\child.exe";
    const std::string report = temp.Path() + "\\report.txt";
    ASSERT_TRUE(::CreateDirectoryW(Wide(folder).c_str(), nullptr));
    std::wstring self(MAX_PATH * 4, L'\0');
    self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    ASSERT_TRUE(::CopyFileW(self.c_str(), Wide(program).c_str(), TRUE));

    ::SetEnvironmentVariableW(L"GTEST_FILTER", L"Win32ProcessChild.ReportsItsProgramFolder");
    ::SetEnvironmentVariableW(L"VW_PROGRAM_FOLDER_REPORT", Wide(report).c_str());
    DWORD id = 0;
    EXPECT_NO_THROW(id = Win32Process().StartProgram(program, SW_HIDE));
    ::SetEnvironmentVariableW(L"GTEST_FILTER", nullptr);
    ::SetEnvironmentVariableW(L"VW_PROGRAM_FOLDER_REPORT", nullptr);
    if (id != 0) {
        const UniqueKernelHandle child(::OpenProcess(SYNCHRONIZE, FALSE, id));
        if (child) {
            EXPECT_EQ(::WaitForSingleObject(child.get(), 120000), WAIT_OBJECT_0);
        }
    }

    std::ifstream in(report, std::ios::binary);
    const std::string reported((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(reported, folder);
    ::DeleteFileW(Wide(program).c_str());
    ::RemoveDirectoryW(Wide(folder).c_str());
}

// The boxes this thread does not own are found by their thread and closed
// once their texts are read.
struct ShownBox {
    std::wstring caption;
    std::vector<std::wstring> statics;
};

BOOL CALLBACK CollectStatic(HWND child, LPARAM into) {
    wchar_t kind[16] = {};
    ::GetClassNameW(child, kind, 16);
    if (::lstrcmpiW(kind, L"Static") == 0) {
        std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(child)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            ::GetWindowTextW(child, text.data(), static_cast<int>(text.size()))));
        reinterpret_cast<ShownBox*>(into)->statics.push_back(text);
    }
    return TRUE;
}

BOOL CALLBACK FindBox(HWND window, LPARAM into) {
    *reinterpret_cast<HWND*>(into) = window;
    return FALSE;
}

// Needs a display (the Windows test run has one); skipped without.
TEST(Win32Ui, MessageBoxShowsEveryCharacterAndNonUtf8AsLatin1) {
    const struct {
        std::string text, caption;
        std::wstring shownText, shownCaption;
    } cases[] = {
        {"Выйдите из системы: 日本語 \xF0\x9F\x98\x80", "Вантрикс",
         L"Выйдите из системы: 日本語 \U0001F600", L"Вантрикс"},
        {"caf\xE9", "Vantrix", L"caf\u00E9", L"Vantrix"},
    };
    for (const auto& c : cases) {
        std::atomic<DWORD> boxThread{0};
        std::atomic<int> answer{-1};
        std::thread box([&] {
            boxThread = ::GetCurrentThreadId();
            answer = Win32Ui().ShowMessage(c.text, c.caption, mb::kOk);
        });
        HWND found = nullptr;
        for (int i = 0; i < 400 && found == nullptr && answer == -1; ++i) {
            ::Sleep(25);
            if (boxThread != 0) {
                ::EnumThreadWindows(boxThread, FindBox, reinterpret_cast<LPARAM>(&found));
            }
        }
        ShownBox shown;
        if (found != nullptr) {
            shown.caption.resize(64);
            shown.caption.resize(
                static_cast<std::size_t>(::GetWindowTextW(found, shown.caption.data(), 64)));
            ::EnumChildWindows(found, CollectStatic, reinterpret_cast<LPARAM>(&shown));
            ::PostMessageW(found, WM_COMMAND, IDOK, 0);
        }
        box.join();
        if (found == nullptr) GTEST_SKIP() << "no box appeared (no display?)";
        EXPECT_EQ(answer, mb::kIdOk);
        EXPECT_EQ(shown.caption, c.shownCaption);
        EXPECT_NE(std::find(shown.statics.begin(), shown.statics.end(), c.shownText),
                  shown.statics.end())
            << c.text;
    }
}

}  // namespace
}  // namespace vw::win32
