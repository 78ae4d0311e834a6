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

std::string Read(ProfileReader& reader, const std::string& file, const char* section,
                 const char* key, std::uint32_t size, const std::string& defaultValue = "") {
    const std::string value =
        reader.GetPrivateProfileStringA(section, key, defaultValue, size, file);
    std::u16string units;
    EXPECT_TRUE(Utf8ToUtf16(value, units)) << "not UTF-8";
    EXPECT_LT(units.size(), size);
    return value;
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

TEST(Win32Profile, EmptyOrUnspellableNamesGiveNothingEvenWithADefault) {
    test::ScopedTempFolder folder;
    const std::string file = folder.WriteFile("names.ini", "[S]\r\nK=1\r\n");
    Win32ProfileReader reader;
    EXPECT_EQ(Read(reader, "", "S", "K", 16, "fallback"), "");
    EXPECT_EQ(Read(reader, file, "S\xFF", "K", 16, "fallback"), "");
    EXPECT_EQ(Read(reader, file + "\xC0", "S", "K", 16, "fallback"), "");
}

TEST(Win32Profile, MissingFileGivesTheDefault) {
    test::ScopedTempFolder folder;
    Win32ProfileReader reader;
    EXPECT_EQ(Read(reader, folder.Path() + "\\absent.ini", "S", "K", 16, "fallback"), "fallback");
}

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
        EXPECT_EQ(Read(reader, sub + "\\" + f.name, "S", "K", 255), f.name[0] == 'a' ? "1" : "Ж")
            << f.name;
        ::DeleteFileW(path.c_str());
    }
    ::RemoveDirectoryW(wideSub.c_str());
}

}  // namespace
}  // namespace vw::win32
