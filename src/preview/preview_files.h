#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>

#include "platform/file_system.h"
#include "preview/change_log.h"

namespace vw::preview {

// Raises the RunError `number`, with the text the run-time system gives it.
[[noreturn]] void RaiseNumbered(long number);

// The file services as the wash would find them: every read goes to the
// real platform, every change is recorded and held back, and later reads see
// the changes recorded so far. A change the platform would refuse raises
// what the real call would, as far as `real` can tell without changing
// anything (ProbeEntry).
class PreviewFileSystem : public FileSystem {
  public:
    PreviewFileSystem(FileSystem& real, ChangeLog& log) : real_(real), log_(log) {}

    std::unique_ptr<RawListing> Enumerate(const std::string& pattern) override;
    void RemoveFile(const std::string& path) override;
    void SetAttributes(const std::string& path, std::uint32_t attributes) override;
    void CreateFolder(const std::string& path) override;
    void RemoveFolder(const std::string& path) override;
    std::unique_ptr<BinaryFile> OpenBinary(const std::string& path) override;
    std::string ReadAll(const std::string& path) override;
    // The entry as the changes so far leave it.
    EntryProbe ProbeEntry(const std::string& path) override;
    DriveKind KindOfDrive(const std::string& root) override { return real_.KindOfDrive(root); }
    std::string TempPath() override { return real_.TempPath(); }
    std::string WindowsFolder() override { return real_.WindowsFolder(); }
    std::string ProfileFolder() override { return real_.ProfileFolder(); }
    std::string AnsiToUtf8(std::string_view text) override { return real_.AnsiToUtf8(text); }

  private:
    class Listing;
    struct Made {
        std::string name;  // as given
        std::uint32_t attributes;
    };

    // An entry that is gone from the overlay's view.
    void Forget(const std::string& key);
    // An entry that exists in the overlay's view alone.
    void Make(const std::string& path, std::uint32_t attributes);
    bool IsEmptyFolder(const std::string& path);

    FileSystem& real_;
    ChangeLog& log_;
    std::set<std::string> gone_;                               // by key
    std::map<std::string, std::uint32_t> attributes_;          // by key
    std::map<std::string, std::map<std::string, Made>> made_;  // by folder key, then key
};

// A path as the overlay files it: upper-cased, "\" not doubled, no trailing
// "\" but a drive root's.
std::string PathKey(const std::string& path);
std::string ParentKey(const std::string& key);
// The folder a path lies in (a drive root with its "\") and its last name.
std::pair<std::string, std::string> SplitPath(const std::string& path);

}  // namespace vw::preview
