#include <gtest/gtest.h>

#include <sstream>

#include "washers/guards/temp_guard.h"

namespace vw {
namespace {

const char* const kTempDirs =
#include "washers/windows/temp_dirs.txt"
    ;

// Only a folder below a root and beside the system's own may be emptied.
TEST(TempDirIsWashableTest, AcceptsAndRefuses) {
    std::istringstream in(kTempDirs);
    int washable = 0;
    for (std::string dir; in >> washable && std::getline(in, dir);)
        EXPECT_EQ(TempDirIsWashable(dir.substr(1), "C:\\WINDOWS", "C:\\Users\\sim"), washable == 1)
            << dir;
}

}  // namespace
}  // namespace vw
