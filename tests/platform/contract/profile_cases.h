#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace vw::contract {

// How a case names the file it reads.
enum class ProfileFile {
    kOwn,      // the file holding `text`
    kEmpty,    // the empty name
    kMissing,  // a file that does not exist
    kNoUtf8,   // the case's file with a byte that is no UTF-8 appended
};

// One initialization-file read whose answer both backends must give alike.
struct ProfileCase {
    const char* name;
    std::string text;  // the file's bytes
    std::string section;
    std::string key;
    std::uint16_t maxUnits;
    std::string expected;  // what the reader gives back, UTF-8
    ProfileFile file = ProfileFile::kOwn;
};

const std::vector<ProfileCase>& ProfileCases();

// The name a case reads, given the path of the file that holds its text.
std::string ProfileCaseFile(const ProfileCase& c, const std::string& own);

inline void PrintTo(const ProfileCase& c, std::ostream* os) {
    *os << c.name;
}

}  // namespace vw::contract
