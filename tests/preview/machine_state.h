#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/sim/sim_platform.h"
#include "preview/change_log.h"
#include "preview/preview_files.h"
#include "text/name_case.h"

namespace vw::test {

// What a simulated machine holds that a wash may change, by upper-cased
// name: files and folders with their attributes, keys and values of the two
// roots the wash touches, cache and history entries, the bin's items.
struct MachineState {
    std::map<std::string, std::uint32_t> files;
    std::map<std::string, int> registry;  // "root\KEY" and "root\KEY|VALUE"
    std::vector<std::string> cache, history;
    int recycled = 0;

    bool operator==(const MachineState& o) const {
        return files == o.files && registry == o.registry && cache == o.cache &&
               history == o.history && recycled == o.recycled;
    }
};

inline void ReadFolder(sim::SimPlatform& sim, const std::string& folder, MachineState& state) {
    const auto listing = sim.files.Enumerate(folder + "\\*");
    DirEntry entry;
    while (listing->Next(entry)) {
        if (entry.name == "." || entry.name == "..") continue;
        const std::string path = folder + "\\" + entry.name;
        state.files[preview::PathKey(path)] = entry.attributes;
        // A link's content is its target's, read where the target lies.
        if ((entry.attributes & attr::kDirectory) && !(entry.attributes & attr::kReparsePoint)) {
            ReadFolder(sim, path, state);
        }
    }
}

inline void ReadKey(sim::SimPlatform& sim, HKey root, const std::string& path,
                    const std::string& id, MachineState& state) {
    state.registry[id] = 1;
    for (const std::string& value : sim.registry.ValueNames(root, path)) {
        state.registry[id + "|" + UpcaseName(value)] = 1;
    }
    for (const std::string& key : sim.registry.SubKeyNames(root, path)) {
        ReadKey(sim, root, path.empty() ? key : path + "\\" + key, id + "\\" + UpcaseName(key),
                state);
    }
}

inline MachineState ReadState(sim::SimPlatform& sim) {
    MachineState state;
    ReadFolder(sim, "C:", state);
    ReadKey(sim, hkey::kCurrentUser, "", "HKEY_CURRENT_USER", state);
    ReadKey(sim, hkey::kLocalMachine, "", "HKEY_LOCAL_MACHINE", state);
    for (const auto& [url, entry] : sim.urlCache.entries) state.cache.push_back(url);
    for (const auto& entry : sim.urlHistory.entries) state.history.push_back(entry.url);
    state.recycled = sim.shell.recycled;
    return state;
}

// `state` with the recorded changes made, as the wash would make them.
inline MachineState Applied(MachineState state, const sim::SimPlatform& sim,
                            const std::vector<preview::Change>& changes) {
    const auto eraseTree = [](auto& map, const std::string& key, char below) {
        for (auto it = map.lower_bound(key); it != map.end();) {
            const bool under = it->first == key ||
                               (it->first.compare(0, key.size(), key) == 0 &&
                                (it->first[key.size()] == '\\' || it->first[key.size()] == below));
            if (!under) break;
            it = map.erase(it);
        }
    };
    for (const preview::Change& c : changes) {
        const std::string file = preview::PathKey(c.target);
        const std::string key = UpcaseName(c.target);
        if (c.action == preview::action::kDeleteFile ||
            c.action == preview::action::kDeleteFolder) {
            state.files.erase(file);
        } else if (c.action == preview::action::kSetAttributes) {
            constexpr std::uint32_t kSettable = 0x2127;
            std::uint32_t& bits = state.files[file];
            bits = (bits & ~kSettable) | (*c.attributes & kSettable);
        } else if (c.action == preview::action::kCreateFolder) {
            state.files[file] = attr::kDirectory;
        } else if (c.action == preview::action::kCreateFile) {
            state.files[file] = attr::kArchive;
        } else if (c.action == preview::action::kDeleteKey) {
            eraseTree(state.registry, key, '|');
        } else if (c.action == preview::action::kDeleteValue) {
            state.registry.erase(key + "|" + UpcaseName(*c.value));
        } else if (c.action == preview::action::kCreateKey) {
            for (std::size_t end = key.find('\\'); end != std::string::npos;
                 end = key.find('\\', end + 1)) {
                state.registry[key.substr(0, end)] = 1;
            }
            state.registry[key] = 1;
        } else if (c.action == preview::action::kDeleteCacheEntry) {
            state.cache.erase(std::find(state.cache.begin(), state.cache.end(), c.target));
        } else if (c.action == preview::action::kClearHistory) {
            state.history.clear();
            for (const auto& entry : sim.urlHistory.entries) {
                if (sim.urlHistory.inUse.count(entry.url)) state.history.push_back(entry.url);
            }
        } else if (c.action == preview::action::kEmptyRecycleBin) {
            state.recycled = 0;
        }
    }
    return state;
}

}  // namespace vw::test
