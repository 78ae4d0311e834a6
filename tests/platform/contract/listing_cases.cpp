#include "platform/contract/listing_cases.h"

namespace vw::contract {

namespace {

// Every kind of entry a filter tells apart.
const std::vector<ListingEntry> kAttributeTree = {
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

// Names the washers' own masks meet in a disk's root and a mail folder.
const std::vector<ListingEntry> kMaskTree = {
    {"FILE0000.CHK", attr::kArchive},
    {"file0001.chk", attr::kReadOnly},
    {"hidden.chk", attr::kHidden},
    {"chk", attr::kNormal},
    {"a.chk.txt", attr::kNormal},
    {"dir.chk", attr::kDirectory},
    {"FOUND.000", attr::kDirectory},
    {"FOUND.010", attr::kDirectory},
    {"FOUND.001", attr::kDirectory | attr::kHidden},
    {"FOUND.0000", attr::kDirectory},
    {"Trash", attr::kNormal},
    {"trash1.txt", attr::kNormal},
    {"mytrash.txt", attr::kNormal},
};

std::set<std::string> Plain(std::set<std::string> more = {}) {
    more.insert({"plain.txt", "readonly.txt", "archive.txt", "noext"});
    return more;
}

}  // namespace

const std::vector<ListingCase>& ListingCases() {
    const auto* a = &kAttributeTree;
    const auto* m = &kMaskTree;
    static const std::vector<ListingCase> cases = {
        {"StarDotStarTakesNamesWithoutADot", a, "\\*.*", attr::kNormal, Plain()},
        {"HiddenFilesOnlyWhenAskedFor", a, "\\*", attr::kHidden, Plain({"hidden.txt"})},
        {"SystemFilesOnlyWhenAskedFor", a, "\\*", attr::kHidden | attr::kSystem,
         Plain({"hidden.txt", "system.txt", "hidsys.txt"})},
        {"FoldersNeitherHiddenNorSystemWithTheirDots", a, "\\*.*", attr::kDirectory,
         Plain({".", "..", "sub"})},
        {"ATrailingBackslashListsTheFolder", a, "\\", attr::kNormal, Plain()},
        {"MasksWithoutRegardToCase",
         a,
         "\\*.TXT",
         attr::kNormal,
         {"plain.txt", "readonly.txt", "archive.txt"}},
        {"NamesWithoutRegardToCase", a, "\\PLAIN.txt", attr::kNormal, {"plain.txt"}},
        {"AQuestionMarkTakesOneCharacter", a, "\\?lain.*", attr::kNormal, {"plain.txt"}},
        {"AHiddenFileIsNotFoundUnasked", a, "\\hidden.txt", attr::kNormal, {}},
        {"AFolderIsFoundOnlyWhenAskedFor", a, "\\sub", attr::kNormal, {}},
        {"NothingMatching", a, "\\*.none", attr::kDirectory, {}},
        {"AMissingFolder", a, "\\absent\\*", attr::kDirectory, {}},
        {"AFileTakenForAFolder", a, "\\plain.txt\\*", attr::kNormal, {}},
        {"FragmentFiles", m, "\\*.chk", attr::kNormal, {"FILE0000.CHK", "file0001.chk"}},
        {"FragmentFilesHiddenToo",
         m,
         "\\*.chk",
         attr::kHidden,
         {"FILE0000.CHK", "file0001.chk", "hidden.chk"}},
        {"RecoveryFoldersByMask", m, "\\FOUND.0??", attr::kDirectory, {"FOUND.000", "FOUND.010"}},
        {"ARecoveryFolderByName", m, "\\FOUND.000", attr::kDirectory, {"FOUND.000"}},
        {"ARecoveryFolderIsNoFile", m, "\\FOUND.000", attr::kNormal, {}},
        {"AHiddenRecoveryFolderIsNotFound", m, "\\FOUND.001", attr::kDirectory, {}},
        {"TrashFilesWithAndWithoutExtension",
         m,
         "\\trash*.*",
         attr::kNormal,
         {"Trash", "trash1.txt"}},
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
