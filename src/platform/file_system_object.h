#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"

namespace vw {

// Drive types as the scripting runtime numbers them: the seam's own numbers.
namespace fsodrive {
constexpr int kUnknown = static_cast<int>(DriveKind::kUnknown);
constexpr int kRemovable = static_cast<int>(DriveKind::kRemovable);
constexpr int kFixed = static_cast<int>(DriveKind::kFixed);
constexpr int kRemote = static_cast<int>(DriveKind::kRemote);
constexpr int kCdRom = static_cast<int>(DriveKind::kCdRom);
constexpr int kRamDisk = static_cast<int>(DriveKind::kRamDisk);
}  // namespace fsodrive

class FsoFile {
  public:
    FsoFile(std::string path, std::string name) : path_(std::move(path)), name_(std::move(name)) {}
    const std::string& Path() const { return path_; }
    const std::string& Name() const { return name_; }

  private:
    std::string path_;
    std::string name_;
};

class FsoFolder {
  public:
    FsoFolder(FileSystem& fs, std::string path, std::uint32_t attributes = attr::kDirectory)
        : fs_(&fs), path_(std::move(path)), attributes_(attributes) {}
    // Without a trailing "\" except for a drive root ("C:\").
    const std::string& Path() const { return path_; }
    // As listed: a link carries attr::kReparsePoint.
    std::uint32_t Attributes() const { return attributes_; }
    // The files lying directly in the folder, hidden and system ones
    // included, in the platform's order, as they are at the call.
    std::vector<FsoFile> Files() const;
    // The folders lying directly in it (hidden, system and links included).
    std::vector<FsoFolder> SubFolders() const;

  private:
    FileSystem* fs_;
    std::string path_;
    std::uint32_t attributes_;
};

class FsoDrive {
  public:
    FsoDrive(int driveType, char letter) : type_(driveType), letter_(letter) {}
    int DriveType() const { return type_; }  // fsodrive::
    // The letter, upper case, without colon.
    std::string DriveLetter() const { return std::string(1, letter_); }

  private:
    int type_;
    char letter_;
};

// What the washers ask of the scripting file-system object, built on the
// platform's file services so every backend behaves alike. Paths must be
// full ("C:\dir" or "\\server\share\dir"); an empty or relative path, or
// one with a component of dots and blanks only (".", ".."), raises 5
// before anything is touched.
class FileSystemObject {
  public:
    explicit FileSystemObject(FileSystem& fs) : fs_(fs) {}

    // 76 when there is no such folder (a file, a wildcard name included).
    FsoFolder GetFolder(const std::string& path) const;

    // Removes the folder with all its files and subfolders; with `force`,
    // read-only ones too. A link (reparse point) is removed itself, never
    // followed. Goes on past what cannot be removed and then raises the
    // first failure. 76 for a missing folder or a file; 5 for a drive root.
    void DeleteFolder(const std::string& path, bool force = false) const;

    // "c:" for any text beginning with a drive letter and a colon, such as
    // "c: [label]"; otherwise "".
    static std::string GetDriveName(const std::string& text);

    // The drive of "c", "c:" or "c:\"; 68 when there is no such drive, 5 for
    // anything else.
    FsoDrive GetDrive(const std::string& driveName) const;

  private:
    FileSystem& fs_;
};

}  // namespace vw
