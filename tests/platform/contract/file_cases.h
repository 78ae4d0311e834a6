#pragma once

#include <cstdint>
#include <functional>
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
    // Wine cannot remove a Unix link to a folder through the Win32 API.
    virtual bool RemovesFolderLinks() const { return true; }
};

// What a case needs staged besides its empty folder; a backend that cannot
// stage it on demand stages it before the program starts, or skips.
enum class Needs {
    kNothing,
    // In Root(): victim\link leading to target; canary\file.txt ("canary"),
    // canary\empty\ and canary\full\keep.txt ("keep"); links\plain.txt ("x"),
    // links\flink.txt leading to canary\file.txt, links\elink to
    // canary\empty and links\dlink to canary\full.
    kLinks,
    // kNoMediumDrive, a CD-ROM drive without a medium.
    kDriveWithoutMedium,
};
constexpr char kNoMediumDrive = 'N';

// One file-service behaviour both backends must show alike, checked with
// GoogleTest expectations.
struct FileCase {
    std::string name;
    std::function<void(FileStage& stage)> run;
    Needs needs = Needs::kNothing;
};
const std::vector<FileCase>& FileCases();
inline void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

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
