#include "platform/win32/win32_profile.h"

#include <gtest/gtest.h>

#include "platform/contract/profile_cases.h"
#include "scoped_temp_folder.h"

namespace vw::win32 {
namespace {

std::string Read(ProfileReader& reader, const std::string& file, const char* section,
                 const char* key, std::uint32_t size, const std::string& defaultValue = "") {
    std::string buffer(size + 1, '\x7f');  // one guard byte past the end
    const std::uint32_t n =
        reader.GetPrivateProfileStringA(section, key, defaultValue, buffer.data(), size, file);
    EXPECT_LT(n, size);
    EXPECT_EQ(buffer[n], '\0') << "not terminated";
    EXPECT_EQ(buffer[size], '\x7f') << "wrote past the buffer";
    return buffer.substr(0, n);
}

// The cases both backends must answer alike, each in a file of its own (the
// system caches a file it has read).
TEST(Win32Profile, AnswersEveryContractCase) {
    test::ScopedTempFolder folder;
    Win32ProfileReader reader;
    int i = 0;
    for (const auto& c : contract::ProfileCases()) {
        SCOPED_TRACE(c.name);
        const std::string file = folder.WriteFile("case" + std::to_string(i++) + ".ini", c.text);
        EXPECT_EQ(Read(reader, file, c.section, c.key, c.size), c.expected);
    }
}

TEST(Win32Profile, EmptyFileNameGivesNothingEvenWithADefault) {
    Win32ProfileReader reader;
    EXPECT_EQ(Read(reader, "", "S", "K", 16, "fallback"), "");
}

TEST(Win32Profile, MissingFileGivesTheDefault) {
    test::ScopedTempFolder folder;
    Win32ProfileReader reader;
    EXPECT_EQ(Read(reader, folder.Path() + "\\absent.ini", "S", "K", 16, "fallback"), "fallback");
}

}  // namespace
}  // namespace vw::win32
