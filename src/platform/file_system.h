#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vw {

// File attribute bits, as the platform reports them and as a listing's
// filter names them.
namespace attr {
constexpr std::uint32_t kNormal = 0x00;
constexpr std::uint32_t kReadOnly = 0x01;
constexpr std::uint32_t kHidden = 0x02;
constexpr std::uint32_t kSystem = 0x04;
constexpr std::uint32_t kVolume = 0x08;
constexpr std::uint32_t kDirectory = 0x10;
constexpr std::uint32_t kArchive = 0x20;
constexpr std::uint32_t kReparsePoint = 0x400;
}  // namespace attr

// The kind of a drive, numbered as the scripting runtime numbers drive
// types; kNone where there is no drive at all.
enum class DriveKind {
    kNone = -1,
    kUnknown = 0,
    kRemovable = 1,
    kFixed = 2,
    kRemote = 3,
    kCdRom = 4,
    kRamDisk = 5,
};

// One entry as the platform's folder enumeration yields it, before filtering.
struct DirEntry {
    std::string name;
    std::uint32_t attributes = 0;
};

// What a removal would meet at a path (see FileSystem::ProbeEntry).
struct EntryProbe {
    long error = 0;  // a RunError number; 0 when the entry could be opened for deletion
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    // A link the platform reaches only through what it leads to (Wine's):
    // removals, attribute changes and overwrites pass it over, silently.
    bool passedOver = false;
};

// An enumeration of the entries matching a path pattern (folder\mask); owns
// whatever the platform holds for it. Next never raises.
class RawListing {
  public:
    virtual ~RawListing() = default;
    // The next entry; false at the end.
    virtual bool Next(DirEntry& entry) = 0;
};

// Whether an entry belongs in a listing asked for with `filter`: plain files
// (read-only and archive included) always, hidden and system files only when
// asked for, folders only when asked and then neither hidden nor system ("."
// and ".." with them), volume labels never.
bool PassesFilter(const DirEntry& entry, std::uint32_t filter);

// A filtered listing: one entry name at a time, the empty string at the end.
class DirectoryListing {
  public:
    DirectoryListing() = default;  // lists nothing
    DirectoryListing(std::unique_ptr<RawListing> raw, std::uint32_t filter)
        : raw_(std::move(raw)), filter_(filter) {}
    std::string Next();

  private:
    std::unique_ptr<RawListing> raw_;
    std::uint32_t filter_ = 0;
};

// A file open for binary reading and writing; closed when destroyed.
class BinaryFile {
  public:
    virtual ~BinaryFile() = default;
    // Raises RunError 75.
    virtual std::uint64_t Length() = 0;
    // Writes `bytes` at the 0-based `offset`, extending the file as needed.
    // Raises RunError 61 (disk full), 70 (a range locked by another program)
    // or 75.
    virtual void WriteAt(std::uint64_t offset, std::string_view bytes) = 0;
    // Forces what was written out to the disk. Raises RunError 61 or 75.
    virtual void Flush() = 0;
};

// The platform's file services. Paths and names are UTF-8, of any script
// and any length: the Win32 backend speaks the wide API and writes the
// long-path form itself where a path needs it. No call deletes, changes or
// writes through a link: a link is handled as itself, or, where the platform
// can only reach it by touching its target, passed over without a failure.
//
// Each call says below whether it can fail and with which RunError numbers;
// both backends keep to that, and a platform failure leaves a call as
// nothing but RunError. The numbers: 52 a name that is no UTF-8, 53 no such
// file, 76 no such folder or path, 70 held open by another program, 71 a
// drive that is not ready, 75 refused (read-only, access, a folder where a
// file is meant, an entry that exists already).
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Enumerates the entries of the folder part of `pattern` whose names
    // match its last part (wildcards * and ?, without regard to case, "*.*"
    // also matching names without an extension; a pattern ending in "\"
    // lists the whole folder). Raises RunError 68 for a drive that exists but
    // cannot be read (no medium), and fails no other way: a folder that does
    // not exist, a pattern that matches nothing or is no UTF-8 gives an empty
    // enumeration.
    virtual std::unique_ptr<RawListing> Enumerate(const std::string& pattern) = 0;

    // As Enumerate, filtered (see PassesFilter).
    DirectoryListing List(const std::string& pattern, std::uint32_t filter) {
        return DirectoryListing(Enumerate(pattern), filter);
    }

    // Deletes one file, or a file link itself (never its target). Raises
    // RunError 53, 76, 70 (in use), 75 (read-only, a folder), 71 or 52.
    virtual void RemoveFile(const std::string& path) = 0;

    // Deletes every file that an ordinary listing of `pattern` names (plain,
    // read-only and archive files; hidden and system files are left), in
    // listing order; none is no failure. Stops at the first file that cannot
    // be deleted (a read-only one included), raising what RemoveFile raises;
    // 68 as Enumerate.
    void Kill(const std::string& pattern);

    // Sets a file's or folder's attributes (kNormal clears them all); the
    // folder and reparse-point bits cannot be changed this way. A link's own
    // attributes, never its target's; a file in use is changed all the same.
    // Raises RunError 53, 76, 75, 71 or 52.
    virtual void SetAttributes(const std::string& path, std::uint32_t attributes) = 0;

    // Creates a folder whose parent exists. Raises RunError 75 when something
    // of that name exists, 76 when the parent does not, 71 or 52.
    virtual void CreateFolder(const std::string& path) = 0;

    // Removes an empty folder, or a folder link itself (never its target,
    // even an empty one). Raises RunError 76 when there is no such folder (a
    // file included), 75 when it is not empty or may not be removed, 70, 71
    // or 52.
    virtual void RemoveFolder(const std::string& path) = 0;

    // Opens a file for binary reading and writing, never truncating it; a
    // missing file is created empty when its folder exists. Null for a link
    // (a dangling one included): there is nothing of its own to overwrite.
    // Raises RunError 76 (no folder), 70 (in use), 75 (read-only, a folder),
    // 71 or 52.
    virtual std::unique_ptr<BinaryFile> OpenBinary(const std::string& path) = 0;

    // Every byte of an existing file, for sequential input. Raises RunError
    // 53, 76, 70, 75 (a folder), 71 or 52.
    virtual std::string ReadAll(const std::string& path) = 0;

    // A stored text file (a custom list) as UTF-8: read as UTF-8 when it
    // starts with the UTF-8 byte-order mark, else in the ANSI code page.
    // Raises what ReadAll raises.
    std::string ReadText(const std::string& path);

    // The queries below never raise.

    // What RemoveFile or RemoveFolder would meet at `path`, asked without
    // changing anything: the entry is opened for deletion with the sharing
    // the removals use, and closed at once. `error` is the number the
    // removal would raise for reaching or opening it (53 no such entry, 76
    // no folder on its way, 71, 52, 70 held open without delete sharing, 75
    // refused by its access list), else 0; the read-only bit is reported in
    // `attributes`, not judged. A link carries kReparsePoint, and
    // `passedOver` when the removals would leave it; `size` is a file's length.
    virtual EntryProbe ProbeEntry(const std::string& path) = 0;

    // The kind of the drive whose root is `root` ("C:\").
    virtual DriveKind KindOfDrive(const std::string& root) = 0;

    // The folder the platform names for temporary files, whole, with its
    // trailing "\"; empty when it names none.
    virtual std::string TempPath() = 0;

    // What the platform falls back on for its temp path when no temp variable
    // is set: the Windows folder and the user's profile folder, without
    // trailing "\"; empty when unknown.
    virtual std::string WindowsFolder() = 0;
    virtual std::string ProfileFolder() = 0;

    // Text in the system's ANSI code page, as UTF-8.
    virtual std::string AnsiToUtf8(std::string_view text) = 0;
};

}  // namespace vw
