#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vw::contract {

// A folder's entry (relative name, attributes) that listing cases run in.
struct ListingEntry {
    const char* name;
    std::uint32_t attributes;  // kDirectory for a folder
};

// One filtered listing whose names both backends must give alike: `pattern`
// is appended to the folder that holds `tree`.
struct ListingCase {
    const char* name;
    const std::vector<ListingEntry>* tree;
    const char* pattern;
    std::uint32_t filter;
    std::set<std::string> expected;
};
const std::vector<ListingCase>& ListingCases();

// Every name a filtered listing gives, through the backend under test.
std::set<std::string> ListNames(FileSystem& fs, const std::string& pattern, std::uint32_t filter);

}  // namespace vw::contract
