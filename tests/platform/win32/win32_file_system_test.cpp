#include "platform/win32/win32_file_system.h"

#include <gtest/gtest.h>

#include "platform/contract/file_cases.h"
#include "platform/contract/listing_cases.h"
#include "scoped_temp_folder.h"

namespace vw::win32 {
namespace {

TEST(Win32ListingContract, ListsEveryCaseLikeTheSimulation) {
    test::ScopedTempFolder folder;
    for (const auto& e : contract::ListingTree()) {
        if (e.attributes & attr::kDirectory) {
            folder.MakeFolder(e.name, e.attributes & ~attr::kDirectory);
        } else {
            folder.WriteFile(e.name, "x", e.attributes);
        }
    }
    Win32FileSystem fs;
    for (const auto& c : contract::ListingCases()) {
        EXPECT_EQ(contract::ListNames(fs, folder.Path() + c.pattern, c.filter), c.expected)
            << c.pattern << " filter " << c.filter;
    }
}

TEST(Win32ListingContract, ListsTheWashersMasksLikeTheSimulation) {
    test::ScopedTempFolder folder;
    for (const auto& e : contract::WildcardTree()) {
        if (e.attributes & attr::kDirectory) {
            folder.MakeFolder(e.name, e.attributes & ~attr::kDirectory);
        } else {
            folder.WriteFile(e.name, "x", e.attributes);
        }
    }
    Win32FileSystem fs;
    for (const auto& c : contract::WildcardCases()) {
        EXPECT_EQ(contract::ListNames(fs, folder.Path() + c.pattern, c.filter), c.expected)
            << c.pattern << " filter " << c.filter;
    }
}

}  // namespace
}  // namespace vw::win32
