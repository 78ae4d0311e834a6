#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "platform/contract/listing_cases.h"
#include "platform/file_system.h"
#include "platform/run_error.h"

namespace vw::contract {

// A fresh folder for one file case, staged and inspected with the backend's
// own means rather than through the FileSystem under test. Names are
// relative to Root(); parents are created as needed.
class FileStage {
  public:
    virtual ~FileStage() = default;
    virtual FileSystem& Files() = 0;
    // Full path, without a trailing "\".
    virtual const std::string& Root() const = 0;
    virtual void MakeFolder(const std::string& name, std::uint32_t attributes = 0) = 0;
    virtual void MakeFile(const std::string& name, const std::string& bytes,
                          std::uint32_t attributes = 0) = 0;
    // Holds the file open without sharing, as another program would, for
    // as long as the stage lives.
    virtual void HoldOpen(const std::string& name) = 0;
    virtual bool Exists(const std::string& name) = 0;
    virtual std::string Content(const std::string& name) = 0;
};

// One file-service behaviour both backends must show alike, checked with
// GoogleTest expectations.
struct FileCase {
    const char* name;
    void (*run)(FileStage& stage);
};
const std::vector<FileCase>& FileCases();
inline void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

// DeleteFolder on a folder holding a folder link. Expects the stage to hold
// Root()\victim\link leading to Root()\target (a backend that cannot make
// links on demand stages it before the program starts). Wine cannot remove
// a Unix link through the Win32 API, hence `linkRemovable`.
void RunFolderLinkCase(FileStage& stage, bool linkRemovable);

// Links whose targets nothing but reading may reach. Expects the stage to
// hold canary\file.txt ("canary"), canary\empty\ and
// canary\full\keep.txt ("keep"), and in links\: plain.txt, flink.txt
// leading to canary\file.txt, elink to canary\empty and dlink to
// canary\full. A link may be removed itself or stay; its target never goes.
void RunLinkTargetsCase(FileStage& stage);

// A CD-ROM drive `letter` without a medium: listings on it raise 68.
void RunNotReadyDriveCase(FileSystem& fs, char letter);

// Listing cases for the masks the washers use, in their own tree.
const std::vector<ListingEntry>& WildcardTree();
const std::vector<ListingCase>& WildcardCases();
// Stages `tree` in the stage's root, then checks every case's listing there.
void ExpectListings(FileStage& stage, const std::vector<ListingEntry>& tree,
                    const std::vector<ListingCase>& cases);

// The run-time error number `statement` raises; 0 when it raises none.
template <typename Statement>
long ErrorOf(Statement&& statement) {
    try {
        statement();
    } catch (const RunError& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace vw::contract
