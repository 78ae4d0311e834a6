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
    std::uint32_t size;    // buffer size handed to the reader
    std::string expected;  // what lands in the buffer
};

const std::vector<ProfileCase>& ProfileCases();

}  // namespace vw::contract
