#include "scoped_temp_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <fstream>

#include "platform/win32/handles.h"

namespace vw::win32::test {

namespace {

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    UniqueFindHandle find(::FindFirstFileA((folder + "\\*").c_str(), &data));
    if (find) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            const DWORD a = data.dwFileAttributes;
            if ((a & FILE_ATTRIBUTE_DIRECTORY) && (a & FILE_ATTRIBUTE_REPARSE_POINT)) {
                ::RemoveDirectoryA(path.c_str());  // never into a link's target
            } else if (a & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(find.get(), &data));
    }
    find.reset();
    ::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryA(folder.c_str());
}

}  // namespace

ScopedTempFolder::ScopedTempFolder() {
    static std::atomic<int> serial{0};
    char temp[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathA(sizeof temp, temp);
    std::string base(temp, n);
    if (!base.empty() && base.back() == '\\') base.pop_back();
    path_ = base + "\\vw-win32-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(serial++);
    RemoveTree(path_);  // a leftover of a crashed run
    EXPECT_TRUE(::CreateDirectoryA(path_.c_str(), nullptr)) << path_ << " " << ::GetLastError();
}

ScopedTempFolder::~ScopedTempFolder() {
    RemoveTree(path_);
}

std::string ScopedTempFolder::WriteFile(const std::string& name, const std::string& bytes,
                                        std::uint32_t attributes) {
    const std::string path = path_ + "\\" + name;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
        EXPECT_TRUE(out.good()) << "cannot write " << path;
    }
    if (attributes != 0) {
        EXPECT_TRUE(::SetFileAttributesA(path.c_str(), attributes)) << path;
    }
    return path;
}

std::string ScopedTempFolder::MakeFolder(const std::string& name, std::uint32_t attributes) {
    const std::string path = path_ + "\\" + name;
    EXPECT_TRUE(::CreateDirectoryA(path.c_str(), nullptr)) << path << " " << ::GetLastError();
    if (attributes != 0) {
        EXPECT_TRUE(::SetFileAttributesA(path.c_str(), attributes)) << path;
    }
    return path;
}

}  // namespace vw::win32::test
