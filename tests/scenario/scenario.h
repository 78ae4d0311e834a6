#pragma once

// Whole wash runs as rows of a table (tests/scenarios/*.scn). Plain C++17:
// the simulated runner and the runner under Wine read the same rows.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vw::scn {

enum class Outcome { kGone, kStays, kSet, kChanged };
enum class Ends { kComplete, kStep, kRefused };

struct File {  // a folder too
    std::string path;
    Outcome outcome = Outcome::kStays;
    bool folder = false, locked = false;
    std::string text = "x", attr;  // attr: letters of r h s a
    int line = 0;
};
struct Link {
    std::string path, target;
    Outcome outcome = Outcome::kStays;
    int line = 0;
};
struct Key {
    std::string root, path;  // root: HKCU, HKLM, HKU or HKCR; path below it
    Outcome outcome = Outcome::kStays;
    bool deny = false;
    int line = 0;
};
struct Value {
    std::string root, path, name;  // name "" is the default value (`@`)
    Outcome outcome = Outcome::kStays;
    std::string type = "sz", data = "x";  // sz: the text; binary: the bytes
    std::uint32_t dword = 0;
    int line = 0;
};
struct Url {
    std::string url;
    Outcome outcome = Outcome::kStays;
    // A cache entry's: normal, cookie or history; on the sim also sticky,
    // sparse, none, inuse, fetchfails, joined by "+".
    std::string kind = "normal";
    int line = 0;
};
struct Drive {
    char letter = 'C';
    std::string kind;  // fixed, removable, cdrom, remote or ramdisk
    bool notReady = false;
};

struct Row {
    std::string name, file;
    int line = 0;
    std::string only;  // "", "sim" or "wine"
    bool hostile = false, hasIni = false, iniHidden = false, noCustomFolder = false;
    std::string ini, temp;                                   // temp empty: the machine's own
    std::vector<std::pair<std::string, std::string>> lists;  // Custom\NAME and its bytes
    std::vector<File> files;
    std::vector<Link> links;
    std::vector<Key> keys;
    std::vector<Value> values;
    std::vector<Url> cache, history;
    std::vector<Drive> drives;
    std::vector<std::string> boxes;
    Ends ends = Ends::kComplete;
    int endStep = 0;
    // `fault CALL NUMBER [NTH]`: the simulated platform raises NUMBER on the
    // call's nth next call; the real one is left as it is.
    struct Fault {
        std::string call;
        long number = 0;
        int nth = 1;
    };
    std::vector<Fault> faults;
};

// "file:line: what" for a line that cannot be read.
struct ParseError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Every *.scn of the folder, in name order; `program` is what $(program)
// expands to. Throws ParseError; names are unique over all the rows.
std::vector<Row> ParseFolder(const std::string& folder, const std::string& program);

}  // namespace vw::scn
