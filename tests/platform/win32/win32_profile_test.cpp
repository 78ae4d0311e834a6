#include "platform/win32/win32_profile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/contract/profile_cases.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "scoped_temp_folder.h"
#include "text/utf8.h"

namespace vw::win32 {
namespace {

std::string Read(ProfileReader& reader, const std::string& file, const std::string& section,
                 const std::string& key, std::uint16_t maxUnits) {
    const std::string value = reader.ReadString(file, section, key, maxUnits);
    std::u16string units;
    EXPECT_TRUE(Utf8ToUtf16(value, units)) << "not UTF-8";
    EXPECT_LE(units.size(), maxUnits);
    return value;
}

// The cases the simulated reader answers alike, each in a file of its own
// (the system caches a file it has read).
class Win32ProfileContract : public ::testing::TestWithParam<contract::ProfileCase> {};

TEST_P(Win32ProfileContract, ReadsLikeTheSimulation) {
    const contract::ProfileCase& c = GetParam();
    test::ScopedTempFolder folder;
    const std::string own = folder.WriteFile(std::string(c.name) + ".ini", c.text);
    Win32ProfileReader reader;
    EXPECT_EQ(Read(reader, contract::ProfileCaseFile(c, own), c.section, c.key, c.maxUnits),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32ProfileContract, ::testing::ValuesIn(contract::ProfileCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Both the system's reader and the one for UTF-8 files open the file by its
// wide name.
TEST(Win32Profile, FileInAFolderNoAnsiCodePageCanNameIsRead) {
    test::ScopedTempFolder folder;
    const std::string sub = folder.Path() + "\\Настройки 日本";
    std::wstring wideSub;
    ASSERT_TRUE(ToWide(sub, wideSub));
    ASSERT_TRUE(::CreateDirectoryW(wideSub.c_str(), nullptr));
    Win32ProfileReader reader;
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {{"ansi.ini", "[S]\r\nK=1\r\n"}, {"utf8.ini", "\xEF\xBB\xBF[S]\r\nK=Ж\r\n"}};
    for (const auto& f : files) {
        std::wstring path;
        ASSERT_TRUE(ToWide(sub + "\\" + f.name, path));
        {
            const UniqueFileHandle h(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(h);
            DWORD written = 0;
            ASSERT_TRUE(::WriteFile(h.get(), f.bytes.data(), static_cast<DWORD>(f.bytes.size()),
                                    &written, nullptr));
        }
        EXPECT_EQ(Read(reader, sub + "\\" + f.name, "S", "K", 254), f.name[0] == 'a' ? "1" : "Ж")
            << f.name;
        ::DeleteFileW(path.c_str());
    }
    ::RemoveDirectoryW(wideSub.c_str());
}

}  // namespace
}  // namespace vw::win32
