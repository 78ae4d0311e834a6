#include "platform/sim/sim_file_system.h"

#include <algorithm>
#include <vector>

#include "platform/run_error.h"
#include "text/name_case.h"
#include "text/utf8.h"
#include "text/wildcard.h"

namespace vw::sim {

namespace {

using namespace errnum;

[[noreturn]] void Raise(long number) {
    throw RunError(number, "file error " + std::to_string(number));
}

struct VectorListing : RawListing {
    std::vector<DirEntry> entries;
    std::size_t next = 0;
    bool Next(DirEntry& entry) override {
        if (next >= entries.size()) return false;
        entry = entries[next++];
        return true;
    }
};

// A path's folder part (empty for a drive root) and last name; a trailing
// "\" names the folder itself.
std::pair<std::string, std::string> Split(std::string path) {
    while (!path.empty() && path.back() == '\\') path.pop_back();
    const auto slash = path.rfind('\\');
    if (slash == std::string::npos) return {"", path};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

std::string Parent(const std::string& key) {
    return Split(key).first;
}

// Attribute bits an attribute change can set.
constexpr std::uint32_t kSettable =
    attr::kReadOnly | attr::kHidden | attr::kSystem | attr::kArchive | 0x100 | 0x2000;

}  // namespace

// Our own handle to a file: the file cannot be deleted, so its node stays,
// until the handle is closed.
class SimFileSystem::OpenFile final : public BinaryFile {
  public:
    OpenFile(SimFileSystem& fs, Node& node) : fs_(fs), node_(node) { ++node_.openedByUs; }
    ~OpenFile() override {
        fs_.journal_.push_back("close");
        --node_.openedByUs;
    }

    std::uint64_t Length() override { return node_.content.size(); }

    void WriteAt(std::uint64_t offset, std::string_view bytes) override {
        fs_.journal_.push_back("write " + std::to_string(offset) + " " +
                               std::to_string(bytes.size()) +
                               (bytes.empty() ? "" : " '" + std::string(1, bytes.front()) + "'"));
        fs_.faults_.Check("WriteAt");
        const auto at = static_cast<std::size_t>(offset);
        node_.content.resize(std::max(node_.content.size(), at + bytes.size()));
        node_.content.replace(at, bytes.size(), bytes);
    }

    void Flush() override {
        fs_.journal_.push_back("flush");
        fs_.faults_.Check("Flush");
    }

  private:
    SimFileSystem& fs_;
    Node& node_;
};

SimFileSystem::SimFileSystem(SimFaults& faults, Journal& journal)
    : faults_(faults), journal_(journal) {
    // What the real backend raises from each call; its queries raise nothing.
    faults_.raises.insert({{"Enumerate", {68}},
                           {"RemoveFile", {52, 53, 70, 71, 75, 76}},
                           {"SetAttributes", {52, 53, 71, 75, 76}},
                           {"CreateFolder", {52, 71, 75, 76}},
                           {"RemoveFolder", {52, 70, 71, 75, 76}},
                           {"OpenBinary", {52, 70, 71, 75, 76}},
                           {"ReadAll", {52, 53, 70, 71, 75, 76}},
                           {"WriteAt", {61, 70, 75}},
                           {"Flush", {61, 75}},
                           {"KindOfDrive", {}},
                           // Armed with 75, what an access list refusing deletion answers.
                           {"ProbeEntry", {52, 53, 70, 71, 75, 76}},
                           {"TempPath", {}},
                           {"WindowsFolder", {}},
                           {"ProfileFolder", {}}});
}

std::string SimFileSystem::Resolve(const std::string& path, bool followLast) const {
    // The platform reads "C:\\dir" as "C:\dir", "\dir" on the current drive
    // and a relative path in the current folder.
    const bool relative = path.size() < 2 || path[1] != ':';
    const std::string start = path[0] == '\\' ? currentFolder.substr(0, 2) : currentFolder + "\\";
    std::string key = UpcaseName(relative ? start + path : path);
    const auto twice = [](char a, char b) { return a == '\\' && b == '\\'; };
    key.erase(std::unique(key.begin(), key.end(), twice), key.end());
    const auto [parent, name] = Split(key);
    key = parent.empty() ? name : Resolve(parent, true) + "\\" + name;
    // A link to a link is followed to the end; the bound stops a loop.
    for (int hops = 0; followLast && hops < 32 && Find(key) && !Find(key)->target.empty(); ++hops) {
        key = Find(key)->target;
    }
    return key;
}

const SimFileSystem::Node* SimFileSystem::Find(const std::string& key) const {
    return nodes_.count(key) ? &nodes_.at(key) : nullptr;
}

bool SimFileSystem::IsFolder(const std::string& key) const {
    return Find(key) && (Find(key)->attributes & attr::kDirectory);
}

SimFileSystem::Node& SimFileSystem::Existing(const std::string& key) {
    if (!Find(key)) Raise(IsFolder(Parent(key)) ? kFileNotFound : kPathNotFound);
    return nodes_.at(key);
}

bool SimFileSystem::Ready(const std::string& path) const {
    const auto drive = drives_.find(Resolve(path).substr(0, 2));
    return drive == drives_.end() || drive->second.second;
}

std::string SimFileSystem::Enter(const char* call, const std::string& path, const std::string& line,
                                 bool followLast) {
    if (!line.empty()) journal_.push_back(line);
    faults_.Check(call);
    if (!IsPlatformName(path)) Raise(kBadFileName);
    if (!Ready(path)) Raise(kDiskNotReady);
    return Resolve(path, followLast);
}

void SimFileSystem::AddDrive(char letter, DriveKind kind, bool ready) {
    drives_[Resolve(std::string(1, letter) + ":")] = {kind, ready};
    AddFolder(std::string(1, letter) + ":\\");
}

void SimFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
    const std::string key = Resolve(path);
    const auto [parent, name] = Split(path);
    if (Parent(key).empty()) drives_.emplace(key, std::make_pair(DriveKind::kFixed, true));
    if (!Parent(key).empty() && !IsFolder(Parent(key))) AddFolder(parent);
    nodes_[key] = Node{name, attributes | attr::kDirectory};
}

void SimFileSystem::AddFile(const std::string& path, const std::string& content,
                            std::uint32_t attributes) {
    const std::string key = Resolve(path);
    const auto [parent, name] = Split(path);
    if (!IsFolder(Parent(key))) AddFolder(parent);
    nodes_[key] = Node{name, attributes & ~attr::kDirectory, content};
}

void SimFileSystem::AddLink(const std::string& path, const std::string& target) {
    const std::string to = Resolve(target, true);
    IsFolder(to) ? AddFolder(path, attr::kReparsePoint) : AddFile(path);
    nodes_[Resolve(path)].target = to;
}

std::unique_ptr<RawListing> SimFileSystem::Enumerate(const std::string& pattern) {
    faults_.Check("Enumerate");
    auto listing = std::make_unique<VectorListing>();
    if (!IsPlatformName(pattern)) return listing;
    if (!Ready(pattern)) Raise(kDeviceUnavailable);
    const auto slash = pattern.rfind('\\');
    const std::string folder =
        Resolve(pattern.substr(0, slash == std::string::npos ? 0 : slash), true);
    const std::string mask = slash + 1 == pattern.size() ? "*" : pattern.substr(slash + 1);
    if (!IsFolder(folder)) return listing;
    for (const char* dots : {".", ".."}) {  // which a drive root has not
        if (!Parent(folder).empty() && WildcardMatch(mask, dots))
            listing->entries.push_back({dots, Find(folder)->attributes});
    }
    const std::string prefix = folder + "\\";
    for (auto it = nodes_.upper_bound(prefix);
         it != nodes_.end() && it->first.rfind(prefix, 0) == 0; ++it) {
        if (Parent(it->first) == folder && WildcardMatch(mask, it->second.name)) {
            listing->entries.push_back({it->second.name, it->second.attributes});
        }
    }
    return listing;
}

void SimFileSystem::RemoveFile(const std::string& path) {
    const std::string key = Enter("RemoveFile", path, "delete " + path);
    const Node& node = Existing(key);
    if (node.heldOpen || node.openedByUs > 0) Raise(kPermissionDenied);
    if (node.attributes & (attr::kDirectory | attr::kReadOnly)) Raise(kPathFileAccessError);
    nodes_.erase(key);
}

void SimFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    const std::string line = "setattr " + path + " " + std::to_string(attributes);
    std::uint32_t& bits = Existing(Enter("SetAttributes", path, line)).attributes;
    bits = (bits & ~kSettable) | (attributes & kSettable);
}

void SimFileSystem::CreateFolder(const std::string& path) {
    const std::string key = Enter("CreateFolder", path, "mkdir " + path);
    if (Find(key)) Raise(kPathFileAccessError);
    if (!IsFolder(Parent(key))) Raise(kPathNotFound);
    nodes_[key] = Node{Split(path).second, attr::kDirectory};
}

void SimFileSystem::RemoveFolder(const std::string& path) {
    const std::string key = Enter("RemoveFolder", path, "rmdir " + path);
    if (!IsFolder(key)) Raise(kPathNotFound);
    const Node& node = nodes_.at(key);
    const auto next = nodes_.upper_bound(key + "\\");
    const bool full = next != nodes_.end() && next->first.rfind(key + "\\", 0) == 0;
    // Windows keeps a read-only folder (Wine removes it); a link goes alone.
    const bool kept = Parent(key).empty() || full || (node.attributes & attr::kReadOnly);
    if (kept && node.target.empty()) Raise(kPathFileAccessError);
    nodes_.erase(key);
}

std::unique_ptr<BinaryFile> SimFileSystem::OpenBinary(const std::string& path) {
    const std::string key = Enter("OpenBinary", path, "open " + path + " truncate=no");
    if (!Find(key) && !IsFolder(Parent(key))) Raise(kPathNotFound);
    if (!Find(key)) nodes_[key] = Node{Split(path).second, attr::kArchive};
    Node& node = nodes_.at(key);
    if (!node.target.empty() && !(node.attributes & attr::kDirectory)) return nullptr;
    if (node.attributes & (attr::kDirectory | attr::kReadOnly)) Raise(kPathFileAccessError);
    if (node.heldOpen) Raise(kPermissionDenied);
    return std::make_unique<OpenFile>(*this, node);
}

std::string SimFileSystem::ReadAll(const std::string& path) {
    const Node& node = Existing(Enter("ReadAll", path, "", true));
    if (node.attributes & attr::kDirectory) Raise(kPathFileAccessError);
    if (node.heldOpen) Raise(kPermissionDenied);
    return node.content;
}

EntryProbe SimFileSystem::ProbeEntry(const std::string& path) {
    EntryProbe probe;
    try {
        const Node& node = Existing(Enter("ProbeEntry", path, ""));
        probe.attributes = node.attributes | (node.target.empty() ? 0 : attr::kReparsePoint);
        probe.size = node.content.size();
        if (node.heldOpen || node.openedByUs > 0) probe.error = kPermissionDenied;
    } catch (const RunError& e) {
        probe.error = e.Number();
    }
    return probe;
}

DriveKind SimFileSystem::KindOfDrive(const std::string& root) {
    const auto drive =
        root.size() == 3 && root.substr(1) == ":\\" ? drives_.find(Resolve(root)) : drives_.end();
    return drive == drives_.end() ? DriveKind::kNone : drive->second.first;
}

}  // namespace vw::sim
