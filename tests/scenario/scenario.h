#pragma once

// Whole wash runs as rows of a table (tests/scenarios/*.scn). Plain C++17:
// the simulated runner and the runner under Wine read the same rows.

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vw::scn {

enum class Outcome { kGone, kStays, kSet, kChanged };

// What a row plants and then checks: file, folder, link, key, value, cache,
// history or recycled (a file the shell put in the Recycle Bin).
struct Thing {
    std::string kind, path;  // path: a file's, a URL, or a key's below its root
    std::string name;        // a link's target, a value's name ("" for `@`), a cache kind
    Outcome outcome = Outcome::kStays;
    // Numbered as Windows numbers them: the root key, the value's type, a
    // file's attributes or a cache entry's kind (0: none given).
    std::intptr_t root = 0;
    std::uint32_t type = 1, bits = 0;
    std::string text = "x";  // a file's or value's bytes (dword: 4, little-endian)
    bool locked = false;     // a file held open, a key denied to all
    int line = 0;
};
struct Drive {
    char letter = 'C';
    int kind = 0;  // 1 removable, 2 fixed, 3 remote, 4 cdrom, 5 ramdisk
    bool notReady = false;
};

struct Row {
    std::string name, file;
    int line = 0;
    std::string only;  // "", "sim" or "wine"
    bool hostile = false, hasIni = false, iniHidden = false, noCustomFolder = false;
    std::string ini, temp;                     // temp empty: the machine's own
    std::map<std::string, std::string> lists;  // Custom\NAME and its bytes
    std::vector<Thing> things;
    std::vector<Drive> drives;
    std::vector<std::string> boxes;
    int ends = 12;  // the step (1..11) a run-time failure ended the run at; 12:
                    // it went through, 0: it did not start
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

// Every *.scn of the folder, in name order, but the rows only the other
// backend runs; `program` is what $(program) expands to. Throws ParseError;
// names are unique over all the rows.
std::vector<Row> ParseFolder(const std::string& folder, const std::string& program,
                             const std::string& backend);

}  // namespace vw::scn
