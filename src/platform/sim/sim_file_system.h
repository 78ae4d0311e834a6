#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/file_system.h"
#include "platform/sim/sim_faults.h"

namespace vw::sim {

// Matches a name against a mask the way the platform does: * and ?, without
// regard to case; a mask ending in ".*" also matches names without a dot.
bool WildcardMatch(const std::string& mask, const std::string& name);

// An in-memory file system of drives, folders and files. Paths are full
// ("C:\dir\file"), matched without regard to case.
class SimFileSystem : public FileSystem {
  public:
    explicit SimFileSystem(SimFaults& faults) : faults_(faults) {}

    // Creates the folder and any missing parents (drive roots included).
    void AddFolder(const std::string& path, std::uint32_t attributes = attr::kDirectory);
    // Creates or replaces a file; its parents are created as needed.
    void AddFile(const std::string& path, const std::string& content = "",
                 std::uint32_t attributes = attr::kArchive);
    bool Exists(const std::string& path) const;
    bool IsFile(const std::string& path) const;
    // The file's bytes; empty for a missing file.
    std::string Content(const std::string& path) const;
    // A file held open by another program without sharing: it cannot be
    // deleted or opened.
    void SetInUse(const std::string& path, bool inUse = true);

    void DeleteFileA(const std::string& path) override;

    std::unique_ptr<RawListing> Enumerate(const std::string& pattern) override;

  private:
    struct Node {
        std::string name;  // as given, for listings
        std::uint32_t attributes;
        std::string content;
        bool inUse = false;
    };
    static std::string Key(const std::string& path);
    static std::string Parent(const std::string& key);

    SimFaults& faults_;
    std::map<std::string, Node> nodes_;  // by upper-cased path
};

}  // namespace vw::sim
