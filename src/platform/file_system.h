#pragma once

#include <cstdint>
#include <memory>
#include <string>

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
// (read-only and archive included) always, hidden files only when asked,
// folders only when asked and then neither hidden nor system ("." and ".."
// with them), system files and volume labels never.
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

// The platform's file services.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Enumerates the entries of the folder part of `pattern` whose names
    // match its last part (wildcards * and ?, without regard to case, "*.*"
    // also matching names without an extension). A folder that does not exist
    // or a pattern that matches nothing gives an empty enumeration.
    virtual std::unique_ptr<RawListing> Enumerate(const std::string& pattern) = 0;

    DirectoryListing List(const std::string& pattern, std::uint32_t filter) {
        return DirectoryListing(Enumerate(pattern), filter);
    }

    // Deletes one file. Raises RunError: 53 when there is no such file, 70
    // when it is in use, 75 when it may not be deleted (read-only, a folder).
    virtual void DeleteFileA(const std::string& path) = 0;

    // Deletes every file that an ordinary listing of `pattern` names (plain,
    // read-only and archive files; hidden and system files are left), in
    // listing order. Raises 53 when none matches and stops at the first file
    // that cannot be deleted, raising its error.
    void Kill(const std::string& pattern);
};

}  // namespace vw
