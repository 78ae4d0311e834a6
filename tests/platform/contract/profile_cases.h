#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vw::contract {

// One initialization-file read whose answer both backends must give alike.
struct ProfileCase {
    const char* name;
    std::string text;  // the file's bytes
    const char* section;
    const char* key;
    std::uint32_t size;    // buffer size handed to the reader, in characters
    std::string expected;  // what the reader gives back, UTF-8
};

const std::vector<ProfileCase>& ProfileCases();

}  // namespace vw::contract
