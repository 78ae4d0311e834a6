#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/file_system.h"
#include "platform/sim/sim_faults.h"
#include "text/utf8.h"

namespace vw::sim {

// An in-memory file system of drives, folders, files and links. Paths are
// full ("C:\dir\file"), matched without regard to case. It fails where the
// real platform fails, with the same numbers; faults armed under a call's
// name add what state alone does not show (an access list, a full disk).
// Changes (open, write, flush, close, attribute changes, folders made and
// removed, deletions) are journaled one line each, before they are tried;
// listings, reads and queries are not.
class SimFileSystem : public FileSystem {
  public:
    SimFileSystem(SimFaults& faults, Journal& journal);

    // Where relative paths start, as under Wine when no drive holds the
    // folder the program was started from.
    std::string currentFolder = "C:\\WINDOWS";
    // What the queries report; the folders are not created.
    std::string tempPath = "C:\\WINDOWS\\TEMP\\";
    std::string windowsFolder = "C:\\WINDOWS";
    std::string profileFolder = "C:\\Users\\sim";

    // A drive and its root folder. A root made by AddFolder or AddFile is a
    // fixed disk. A drive without a medium (not `ready`) keeps its kind, but
    // a listing on it raises 68 and every other call on it 71.
    void AddDrive(char letter, DriveKind kind = DriveKind::kFixed, bool ready = true);
    // Creates the folder and any missing parents.
    void AddFolder(const std::string& path, std::uint32_t attributes = attr::kDirectory);
    // Creates or replaces a file; parents are created as needed.
    void AddFile(const std::string& path, const std::string& content = "",
                 std::uint32_t attributes = attr::kArchive);
    // A link to `target`. To a folder, a folder link: paths through it reach
    // the target's entries. Else a file link (its target need not exist),
    // listed as a plain file the way Wine lists one: only the seam's own care
    // keeps its target safe; reading it reads the target. Removing either
    // removes the link alone.
    void AddLink(const std::string& path, const std::string& target);
    // Held open by another program without sharing: it can be neither opened
    // nor deleted.
    void HoldOpen(const std::string& path) { nodes_.at(Resolve(path)).heldOpen = true; }
    bool Exists(const std::string& path) const { return Find(Resolve(path)); }
    bool IsFile(const std::string& path) const { return Exists(path) && !IsFolder(Resolve(path)); }
    // The file's bytes; empty for a missing file.
    std::string Content(const std::string& path) const {
        return IsFile(path) ? Find(Resolve(path))->content : "";
    }

    std::unique_ptr<RawListing> Enumerate(const std::string& pattern) override;
    void RemoveFile(const std::string& path) override;
    void SetAttributes(const std::string& path, std::uint32_t attributes) override;
    void CreateFolder(const std::string& path) override;
    void RemoveFolder(const std::string& path) override;
    std::unique_ptr<BinaryFile> OpenBinary(const std::string& path) override;
    std::string ReadAll(const std::string& path) override;
    EntryProbe ProbeEntry(const std::string& path) override;
    DriveKind KindOfDrive(const std::string& root) override;
    std::string TempPath() override { return tempPath; }
    std::string WindowsFolder() override { return windowsFolder; }
    std::string ProfileFolder() override { return profileFolder; }
    // The sim's ANSI code page is Latin-1.
    std::string AnsiToUtf8(std::string_view text) override { return Latin1ToUtf8(text); }

  private:
    class OpenFile;
    struct Node {
        std::string name;  // as given, for listings
        std::uint32_t attributes;
        std::string content = {};
        std::string target = {};  // a link's: the key of what it leads to
        bool heldOpen = false;
        int openedByUs = 0;  // our own handles refuse deletion too
    };

    // The key of `path` with every link on the way replaced by its target;
    // the last component is followed only when asked.
    std::string Resolve(const std::string& path, bool followLast = false) const;
    const Node* Find(const std::string& key) const;
    bool IsFolder(const std::string& key) const;
    // The node a call needs; 76 without its folder, else 53.
    Node& Existing(const std::string& key);
    bool Ready(const std::string& path) const;
    // Where every call on a path starts: its journal line, an armed fault,
    // then a name that is no UTF-8 (52) and a drive that is not ready (71).
    std::string Enter(const char* call, const std::string& path, const std::string& line,
                      bool followLast = false);

    SimFaults& faults_;
    Journal& journal_;
    std::map<std::string, Node> nodes_;                         // by upper-cased path
    std::map<std::string, std::pair<DriveKind, bool>> drives_;  // kind, ready; by root ("C:")
};

}  // namespace vw::sim
