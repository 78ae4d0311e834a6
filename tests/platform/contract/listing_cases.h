#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vw::contract {

// A folder's entries (relative name, attributes) that every listing case runs in.
struct ListingEntry {
    const char* name;
    std::uint32_t attributes;  // kDirectory for a folder
};
const std::vector<ListingEntry>& ListingTree();

// One filtered listing whose names both backends must give alike. `pattern`
// is appended to the tree's folder path.
struct ListingCase {
    const char* pattern;
    std::uint32_t filter;
    std::set<std::string> expected;
};
const std::vector<ListingCase>& ListingCases();

// Every name a filtered listing gives, through the backend under test.
std::set<std::string> ListNames(FileSystem& fs, const std::string& pattern, std::uint32_t filter);

}  // namespace vw::contract
