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

// Drive types as GetDriveTypeA reports them.
namespace drivetype {
constexpr std::uint32_t kUnknown = 0;
constexpr std::uint32_t kNoRootDir = 1;  // no such drive
constexpr std::uint32_t kRemovable = 2;
constexpr std::uint32_t kFixed = 3;
constexpr std::uint32_t kRemote = 4;
constexpr std::uint32_t kCdRom = 5;
constexpr std::uint32_t kRamDisk = 6;
}  // namespace drivetype

// One entry as the platform's folder enumeration yields it, before filtering.
struct DirEntry {
    std::string name;
    std::uint32_t attributes = 0;
};

// A raw enumeration of the entries matching a path pattern (folder\mask);
// owns the platform's find handle.
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
    DirectoryListing(std::unique_ptr<RawListing> raw, std::uint32_t filter)
        : raw_(std::move(raw)), filter_(filter) {}
    std::string Next();

  private:
    std::unique_ptr<RawListing> raw_;
    std::uint32_t filter_;
};

// A file opened for binary reading and writing; closed when destroyed.
// Failures raise RunError (75, or 61 when the disk is full).
class BinaryFile {
  public:
    virtual ~BinaryFile() = default;
    virtual std::uint64_t Length() = 0;
    // Writes `bytes` at the 0-based `offset`, extending the file as needed.
    virtual void WriteAt(std::uint64_t offset, std::string_view bytes) = 0;
    // Forces what was written out to the disk (FlushFileBuffers).
    virtual void Flush() = 0;
};

// The platform's file services. Paths and names are UTF-8, of any script
// and any length: the Win32 backend speaks the wide API and writes the
// long-path form itself where a path needs it. No call deletes, changes or
// writes through a link: a link is handled as itself, or, where the platform
// can only reach it by touching its target, passed over without a failure.
// Unless a call says otherwise, a failure raises RunError: 53 no such file,
// 76 no such folder (or path), 70 held open by another program, 75 refused
// (read-only, access, wrong kind of entry), 52 a name that is no UTF-8.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Enumerates the entries of the folder part of `pattern` whose names
    // match its last part (wildcards * and ?, without regard to case, "*.*"
    // also matching names without an extension). A folder that does not exist
    // or a pattern that matches nothing gives an empty enumeration; a drive
    // that exists but cannot be read (no medium) raises 68, as a missing
    // drive does where the washers check for one.
    virtual std::unique_ptr<RawListing> Enumerate(const std::string& pattern) = 0;

    DirectoryListing List(const std::string& pattern, std::uint32_t filter) {
        return DirectoryListing(Enumerate(pattern), filter);
    }

    // Deletes one file, or a file link itself (never its target). Raises
    // RunError: 53 when there is no such file, 70 when it is in use, 75 when
    // it may not be deleted (read-only, a folder).
    virtual void DeleteFileA(const std::string& path) = 0;

    // Deletes every file that an ordinary listing of `pattern` names (plain,
    // read-only and archive files; hidden and system files are left), in
    // listing order; none is no failure. Stops at the first file that cannot
    // be deleted (a read-only one included), raising its error.
    void Kill(const std::string& pattern);

    // Sets a file's or folder's attributes (kNormal clears them all); the
    // folder and reparse-point bits cannot be changed this way. A link's own
    // attributes, never its target's.
    virtual void SetAttr(const std::string& path, std::uint32_t attributes) = 0;

    // Creates a folder whose parent exists. 75 when it exists already, 76
    // when its parent does not.
    virtual void CreateDirectoryA(const std::string& path) = 0;

    // Removes an empty folder, or a folder link itself (never its target,
    // even an empty one). 76 when there is no such folder (a file included),
    // 75 when it is not empty or may not be removed (read-only).
    virtual void RemoveDirectoryA(const std::string& path) = 0;

    // The drive type (drivetype::) of a root path such as "C:\"; kNoRootDir
    // when there is no such drive. Never raises.
    virtual std::uint32_t GetDriveTypeA(const std::string& rootPath) = 0;

    // GetTempPath: when the temp path and its terminating NUL fit in
    // `bufferLength` characters (UTF-16 units, as the platform counts them),
    // sets `path` and returns the path's length; otherwise leaves `path` and
    // returns the length needed, NUL included. 0 on failure. Never raises.
    virtual std::uint32_t GetTempPathA(std::uint32_t bufferLength, std::string& path) = 0;

    // The folders the platform falls back on for its temp path when no temp
    // variable is set: the Windows folder and the user's profile folder,
    // without trailing "\"; empty when unknown. Never raise.
    virtual std::string GetWindowsDirectoryA() = 0;
    virtual std::string UserProfileFolder() = 0;

    // Opens a file for binary reading and writing, never truncating it; a
    // missing file is created empty when its folder exists. Null for a link
    // (a dangling one included): there is nothing of its own to overwrite.
    virtual std::unique_ptr<BinaryFile> OpenBinary(const std::string& path) = 0;

    // Every byte of an existing file, for sequential input.
    virtual std::string ReadAll(const std::string& path) = 0;

    // Text in the system's ANSI code page, as UTF-8.
    virtual std::string AnsiToUtf8(std::string_view text) = 0;

    // A stored text file (a custom list) as UTF-8: read as UTF-8 when it
    // starts with the UTF-8 byte-order mark, else in the ANSI code page.
    std::string ReadText(const std::string& path);
};

}  // namespace vw
