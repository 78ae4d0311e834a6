#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/sim_platform.h"
#include "preview/change_log.h"
#include "preview/preview_files.h"
#include "text/name_case.h"

namespace vw::test {

// What a simulated machine holds that a wash may change, by upper-cased
// name: files and folders with their attributes, keys ("root\KEY") and
// values ("root\KEY|NAME") of the roots the wash touches, cache and history
// entries, the bin's items.
struct MachineState {
    std::map<std::string, std::uint32_t> files;
    std::set<std::string> registry;
    std::vector<std::string> cache, history;
    int recycled = 0;

    bool operator==(const MachineState& o) const {
        return files == o.files && registry == o.registry && cache == o.cache &&
               history == o.history && recycled == o.recycled;
    }
};

inline MachineState ReadState(sim::SimPlatform& sim) {
    MachineState s;
    std::function<void(const std::string&)> folder = [&](const std::string& path) {
        const auto listing = sim.files.Enumerate(path + "\\*");
        for (DirEntry e; listing->Next(e);) {
            if (e.name == "." || e.name == "..") continue;
            s.files[preview::PathKey(path + "\\" + e.name)] = e.attributes;
            // A link's content is its target's, read where the target lies.
            if ((e.attributes & attr::kDirectory) && !(e.attributes & attr::kReparsePoint))
                folder(path + "\\" + e.name);
        }
    };
    folder("C:");
    std::function<void(HKey, const std::string&, const std::string&)> key =
        [&](HKey root, const std::string& path, const std::string& id) {
            s.registry.insert(id);
            for (const auto& v : sim.registry.ValueNames(root, path))
                s.registry.insert(id + "|" + UpcaseName(v));
            for (const auto& k : sim.registry.SubKeyNames(root, path))
                key(root, path.empty() ? k : path + "\\" + k, id + "\\" + UpcaseName(k));
        };
    key(hkey::kCurrentUser, "", "HKEY_CURRENT_USER");
    key(hkey::kLocalMachine, "", "HKEY_LOCAL_MACHINE");
    for (const auto& entry : sim.urlCache.entries) s.cache.push_back(entry.first);
    for (const auto& entry : sim.urlHistory.entries) s.history.push_back(entry.url);
    s.recycled = sim.shell.recycled;
    return s;
}

// `s` with the recorded changes made as the wash would make them.
inline MachineState Applied(MachineState s, const std::vector<preview::Change>& changes) {
    namespace act = preview::action;
    for (const preview::Change& c : changes) {
        const std::string file = preview::PathKey(c.target), key = UpcaseName(c.target);
        if (c.action == act::kDeleteFile || c.action == act::kDeleteFolder) s.files.erase(file);
        // A file outside what the state holds (another drive) stays outside.
        const auto entry = s.files.find(file);
        if (c.action == act::kSetAttributes && entry != s.files.end())
            entry->second = (entry->second & ~0x2127u) | (*c.attributes & 0x2127u);
        if (c.action == act::kCreateFolder) s.files[file] = attr::kDirectory;
        if (c.action == act::kCreateFile) s.files[file] = attr::kArchive;
        // A key goes with its values and every key below it.
        for (auto it = s.registry.lower_bound(key);
             c.action == act::kDeleteKey && it != s.registry.end() && it->rfind(key, 0) == 0;)
            it = std::string("|\\", 3).find((*it + '\0')[key.size()]) != std::string::npos
                     ? s.registry.erase(it)
                     : std::next(it);
        if (c.action == act::kDeleteValue) s.registry.erase(key + "|" + UpcaseName(*c.value));
        for (std::size_t end = 0; c.action == act::kCreateKey && end != std::string::npos;) {
            end = key.find('\\', end + 1);
            s.registry.insert(key.substr(0, end));
        }
        if (c.action == act::kDeleteCacheEntry)
            s.cache.erase(std::find(s.cache.begin(), s.cache.end(), c.target));
        if (c.action == act::kClearHistory) s.history.clear();
        if (c.action == act::kEmptyRecycleBin) s.recycled = 0;
    }
    return s;
}

}  // namespace vw::test
