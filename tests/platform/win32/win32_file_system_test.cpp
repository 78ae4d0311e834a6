#include "platform/win32/win32_file_system.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <set>

#include "scoped_temp_folder.h"

namespace vw::win32 {
namespace {

using Names = std::set<std::string>;

Names ListAll(FileSystem& fs, const std::string& pattern, std::uint32_t filter) {
    Names names;
    auto listing = fs.List(pattern, filter);
    for (std::string n = listing.Next(); !n.empty(); n = listing.Next()) names.insert(n);
    return names;
}

Names EnumerateAll(FileSystem& fs, const std::string& pattern) {
    Names names;
    auto raw = fs.Enumerate(pattern);
    for (DirEntry e; raw->Next(e);) names.insert(e.name);
    return names;
}

// One folder holding an entry of every kind the filter tells apart.
class Win32Listing : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_.WriteFile("plain.txt", "x");
        folder_.WriteFile("readonly.txt", "x", FILE_ATTRIBUTE_READONLY);
        folder_.WriteFile("archive.txt", "x", FILE_ATTRIBUTE_ARCHIVE);
        folder_.WriteFile("noext", "x");
        folder_.WriteFile("hidden.txt", "x", FILE_ATTRIBUTE_HIDDEN);
        folder_.WriteFile("system.txt", "x", FILE_ATTRIBUTE_SYSTEM);
        folder_.WriteFile("hidsys.txt", "x", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        folder_.MakeFolder("sub");
        folder_.MakeFolder("hidsub", FILE_ATTRIBUTE_HIDDEN);
        folder_.MakeFolder("syssub", FILE_ATTRIBUTE_SYSTEM);
    }
    std::string Pattern(const std::string& mask) const { return folder_.Path() + "\\" + mask; }

    test::ScopedTempFolder folder_;
    Win32FileSystem fs_;
};

const Names kPlainFiles = {"plain.txt", "readonly.txt", "archive.txt", "noext"};

// "noext" among the plain files: "*.*" also matches a name without a dot.
TEST_F(Win32Listing, FilterSelectsByAttributes) {
    EXPECT_EQ(ListAll(fs_, Pattern("*.*"), 0), kPlainFiles);

    Names withHidden = kPlainFiles;
    withHidden.insert("hidden.txt");
    EXPECT_EQ(ListAll(fs_, Pattern("*.*"), FILE_ATTRIBUTE_HIDDEN), withHidden);

    Names withFolders = kPlainFiles;
    withFolders.insert({".", "..", "sub"});
    EXPECT_EQ(ListAll(fs_, Pattern("*.*"), FILE_ATTRIBUTE_DIRECTORY), withFolders);
}

TEST_F(Win32Listing, TrailingBackslashListsTheFolder) {
    const Names all = EnumerateAll(fs_, Pattern("*"));
    EXPECT_EQ(all.size(), 12u);  // ten entries, "." and ".."
    EXPECT_EQ(EnumerateAll(fs_, folder_.Path() + "\\"), all);
}

TEST_F(Win32Listing, MissingFolderOrNoMatchIsEmpty) {
    EXPECT_TRUE(EnumerateAll(fs_, Pattern("absent\\*.*")).empty());
    EXPECT_TRUE(EnumerateAll(fs_, Pattern("absent\\")).empty());
    EXPECT_TRUE(EnumerateAll(fs_, Pattern("*.none")).empty());
    EXPECT_TRUE(EnumerateAll(fs_, "").empty());
}

}  // namespace
}  // namespace vw::win32
