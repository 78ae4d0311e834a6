#include "scoped_temp_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>

namespace vw::win32::test {

namespace fs = std::filesystem;

namespace {

// Read-only entries would refuse deletion: clear every attribute first. The
// iterator does not descend into links, so nothing outside is touched.
void RemoveTree(const std::string& folder) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        ::SetFileAttributesA(it->path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    fs::remove_all(folder, ec);
}

void SetAttributes(const std::string& path, std::uint32_t attributes) {
    if (attributes != 0) {
        EXPECT_TRUE(::SetFileAttributesA(path.c_str(), attributes)) << path;
    }
}

}  // namespace

ScopedTempFolder::ScopedTempFolder() {
    static std::atomic<int> serial{0};
    path_ = (fs::temp_directory_path() / ("vw-win32-" + std::to_string(::GetCurrentProcessId()) +
                                          "-" + std::to_string(serial++)))
                .string();
    RemoveTree(path_);  // a leftover of a crashed run
    EXPECT_TRUE(fs::create_directories(path_)) << path_;
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
    SetAttributes(path, attributes);
    return path;
}

}  // namespace vw::win32::test
