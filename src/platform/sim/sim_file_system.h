#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "platform/file_system.h"
#include "platform/sim/sim_faults.h"

namespace vw::sim {

// Matches a name against a mask the way the platform does: * and ?, without
// regard to case; a mask ending in ".*" also matches names without a dot.
bool WildcardMatch(const std::string& mask, const std::string& name);

// An in-memory file system of drives, folders and files. Paths are full
// ("C:\dir\file"), matched without regard to case. Changes to files (open,
// write, flush, close, attributes, deletions) are journaled; listings and
// reads are not.
class SimFileSystem : public FileSystem {
  public:
    SimFileSystem(SimFaults& faults, Journal& journal) : faults_(faults), journal_(journal) {}

    // What GetTempPathA reports; the folder itself is not created. Empty
    // makes the call fail.
    std::string tempPath = "C:\\WINDOWS\\TEMP\\";
    std::string windowsFolder = "C:\\WINDOWS";
    std::string profileFolder = "C:\\Users\\sim";
    std::string GetWindowsDirectoryA() override { return windowsFolder; }
    std::string UserProfileFolder() override { return profileFolder; }

    // Adds the drive's root folder. A drive whose root was created some other
    // way counts as a fixed disk.
    void AddDrive(char letter, std::uint32_t driveType = drivetype::kFixed);
    // Creates the folder and any missing parents (drive roots included).
    void AddFolder(const std::string& path, std::uint32_t attributes = attr::kDirectory);
    // Creates or replaces a file; its parents are created as needed.
    void AddFile(const std::string& path, const std::string& content = "",
                 std::uint32_t attributes = attr::kArchive);
    // A folder link (reparse point) to `target`: paths through it reach the
    // target's entries; removing it removes the link alone.
    void AddFolderLink(const std::string& path, const std::string& target);
    // A file link to `target` (which need not exist), listed as a plain file
    // the way Wine lists one: only the seam's own care keeps its target safe.
    // Reading it reads the target; deleting it removes the link alone.
    void AddFileLink(const std::string& path, const std::string& target);
    // A drive without a medium: it keeps its type, but listings on it raise
    // 68 and every other call 71.
    void SetDriveReady(char letter, bool ready);
    bool Exists(const std::string& path) const;
    bool IsFile(const std::string& path) const;
    // The file's bytes; empty for a missing file.
    std::string Content(const std::string& path) const;
    // A file held open by another program without sharing: it cannot be
    // deleted or opened.
    void SetInUse(const std::string& path, bool inUse = true);

    std::unique_ptr<RawListing> Enumerate(const std::string& pattern) override;
    void DeleteFileA(const std::string& path) override;
    void SetAttr(const std::string& path, std::uint32_t attributes) override;
    void CreateDirectoryA(const std::string& path) override;
    void RemoveDirectoryA(const std::string& path) override;
    std::uint32_t GetDriveTypeA(const std::string& rootPath) override;
    std::uint32_t GetTempPathA(std::uint32_t bufferLength, std::string& path) override;
    std::unique_ptr<BinaryFile> OpenBinary(const std::string& path) override;
    std::string ReadAll(const std::string& path) override;
    // The sim's ANSI code page is Latin-1.
    std::string AnsiToUtf8(std::string_view text) override;

  private:
    class OpenFile;
    struct Node {
        std::string name;  // as given, for listings
        std::uint32_t attributes;
        std::string content;
        bool inUse = false;
        int openedByUs = 0;       // our own open handles: they refuse deletion too
        std::string target = {};  // key of a link's target
    };
    static std::string Key(const std::string& path);
    static std::string Parent(const std::string& key);
    // The key of `path` with every link on the way replaced by its target;
    // the last component is followed only when asked.
    std::string Resolve(const std::string& path, bool followLast = false) const;
    const Node* Find(const std::string& key) const;
    bool HasChildren(const std::string& key) const;
    // The error for a path that names nothing: 76 without its folder, else 53.
    [[noreturn]] void RaiseMissing(const std::string& key) const;
    // Raises for a path on a drive without a medium: 68 for a listing, else 71.
    void CheckReady(const std::string& path, bool listing = false) const;

    SimFaults& faults_;
    Journal& journal_;
    std::map<std::string, Node> nodes_;  // by upper-cased path
    std::map<char, std::uint32_t> driveTypes_;
    std::set<char> notReady_;
};

}  // namespace vw::sim
