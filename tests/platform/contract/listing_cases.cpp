#include "platform/contract/listing_cases.h"

#include "platform/file_system.h"

namespace vw::contract {

const std::vector<ListingEntry>& ListingTree() {
    static const std::vector<ListingEntry> tree = {
        {"plain.txt", attr::kNormal},
        {"readonly.txt", attr::kReadOnly},
        {"archive.txt", attr::kArchive},
        {"noext", attr::kNormal},
        {"hidden.txt", attr::kHidden},
        {"system.txt", attr::kSystem},
        {"hidsys.txt", attr::kHidden | attr::kSystem},
        {"sub", attr::kDirectory},
        {"hidsub", attr::kDirectory | attr::kHidden},
        {"syssub", attr::kDirectory | attr::kSystem},
    };
    return tree;
}

const std::vector<ListingCase>& ListingCases() {
    const std::set<std::string> plain = {"plain.txt", "readonly.txt", "archive.txt", "noext"};
    auto with = [&](std::set<std::string> more) {
        more.insert(plain.begin(), plain.end());
        return more;
    };
    static const std::vector<ListingCase> cases = {
        // "*.*" takes names without a dot too.
        {"\\*.*", attr::kNormal, plain},
        {"\\*", attr::kHidden, with({"hidden.txt"})},
        // System files only when asked for, and never folders unasked.
        {"\\*", attr::kHidden | attr::kSystem,
         with({"hidden.txt", "system.txt", "hidsys.txt"})},
        {"\\*.*", attr::kDirectory, with({".", "..", "sub"})},
        {"\\", attr::kNormal, plain},  // a trailing "\" lists the folder
        {"\\*.TXT", attr::kNormal, {"plain.txt", "readonly.txt", "archive.txt"}},
        {"\\PLAIN.txt", attr::kNormal, {"plain.txt"}},
        {"\\?lain.*", attr::kNormal, {"plain.txt"}},
        {"\\hidden.txt", attr::kNormal, {}},
        {"\\sub", attr::kNormal, {}},  // a folder is found only when asked for
        {"\\*.none", attr::kDirectory, {}},
        {"\\absent\\*", attr::kDirectory, {}},
        {"\\plain.txt\\*", attr::kNormal, {}},
    };
    return cases;
}

std::set<std::string> ListNames(FileSystem& fs, const std::string& pattern, std::uint32_t filter) {
    std::set<std::string> names;
    auto listing = fs.List(pattern, filter);
    for (auto name = listing.Next(); !name.empty(); name = listing.Next()) names.insert(name);
    return names;
}

}  // namespace vw::contract
