#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "wash/layout.h"

namespace vw::preview {

// One change the wash would make, held back, with the run's item it falls in.
struct Change {
    int step = 0;
    std::string action;  // see the action words below
    std::string target;  // a path, a key, a URL
    std::optional<std::uint64_t> bytes;
    std::optional<std::uint64_t> count;       // items of a bin, entries of a history
    std::optional<std::string> value;         // the value's name, for "delete value"
    std::optional<std::uint32_t> attributes;  // for "set attributes"
};

// A message box the run would show, recorded instead.
struct Box {
    int step = 0;
    std::string text;
    std::string caption;
    std::uint32_t type = 0;
};

// The action words of the report.
namespace action {
inline constexpr const char* kDeleteFile = "delete file";
inline constexpr const char* kDeleteFolder = "delete folder";
inline constexpr const char* kSetAttributes = "set attributes";
inline constexpr const char* kOverwriteFile = "overwrite file";
inline constexpr const char* kCreateFile = "create file";
inline constexpr const char* kCreateFolder = "create folder";
inline constexpr const char* kDeleteKey = "delete key";
inline constexpr const char* kDeleteValue = "delete value";
inline constexpr const char* kCreateKey = "create key";
inline constexpr const char* kDeleteCacheEntry = "delete cache entry";
inline constexpr const char* kClearHistory = "clear history";
inline constexpr const char* kDeleteHistoryEntry = "delete history entry";
inline constexpr const char* kAddHistoryEntry = "add history entry";
inline constexpr const char* kEmptyRecycleBin = "empty recycle bin";
inline constexpr const char* kClearDocumentHistory = "clear document history";
inline constexpr const char* kStartProgram = "start program";
}  // namespace action

// The wash's items as the preview numbers them: 1 to the run's count, then
// one more for what follows the last item (the closing message).
std::size_t ItemCount();
std::string ItemName(int step);

// Everything a preview held back, in order. The run's own progress steps
// tell it where one item ends: changes after an item's done-marker belong to
// the next item.
class ChangeLog {
  public:
    Change& Record(const char* what, std::string target, std::optional<std::uint64_t> bytes = {});
    void RecordBox(std::string text, std::string caption, std::uint32_t type);
    // A control made visible: an item's done-marker ends that item.
    void ControlShown(std::size_t control);

    int Step() const { return step_; }
    const std::vector<Change>& Changes() const { return changes_; }
    const std::vector<Box>& Boxes() const { return boxes_; }

  private:
    int step_ = 1;
    std::vector<Change> changes_;
    std::vector<Box> boxes_;
};

}  // namespace vw::preview
