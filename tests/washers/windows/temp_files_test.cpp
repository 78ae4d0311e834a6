#include <gtest/gtest.h>

#include "washers/guards/temp_guard.h"

namespace vw {
namespace {

// Only a folder below a root and beside the system's own may be emptied.
TEST(TempDirIsWashableTest, AcceptsAndRefuses) {
    const struct {
        const char* dir;
        bool washable;
    } cases[] = {
        {"C:\\WINDOWS\\TEMP\\", true},
        {"C:\\WINDOWS2\\", true},  // beside the Windows folder, not in it
        {"C:\\T\\x..\\", true},    // dots inside a name
        {"C:\\T\\.x\\", true},
        {"\\\\srv\\share\\tmp\\", true},
        {"", false},
        {"Temp\\", false},
        {"\\Temp\\", false},
        {"C:Temp\\", false},
        {"C:\\", false},
        {"c:\\\\", false},
        {"\\\\srv\\share\\", false},
        {"c:\\windows", false},
        {"C:\\\\WINDOWS\\", false},  // a doubled separator names the same folder
        {"C:\\Users\\", false},      // above the profile
        {"C:\\USERS\\SIM\\", false},
        {"C:\\T\\.\\", false},
        {"C:\\T\\..\\", false},
        {"C:\\T\\..", false},
        {"C:\\WINDOWS\\TEMP\\..\\..\\", false},
        {"C:\\T\\. .\\", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TempDirIsWashable(c.dir, "C:\\WINDOWS", "C:\\Users\\sim"), c.washable) << c.dir;
    }
}

}  // namespace
}  // namespace vw
