#pragma once

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/sim_platform.h"
#include "preview/change_log.h"
#include "preview/preview_files.h"
#include "text/name_case.h"

namespace vw::test {

// What a simulated machine holds that a wash may change, by upper-cased
// name: files and folders ("path|attributes"), keys ("root\KEY") and values
// ("root\KEY|NAME") of the roots the wash touches, cache and history
// entries, the bin's items.
struct MachineState {
    std::set<std::string> files, registry;
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
            s.files.insert(preview::PathKey(path + "\\" + e.name) + "|" +
                           std::to_string(e.attributes));
            // A link's content is its target's, read where the target lies.
            if ((e.attributes & attr::kDirectory) && !(e.attributes & attr::kReparsePoint)) {
                folder(path + "\\" + e.name);
            }
        }
    };
    folder("C:");
    std::function<void(HKey, const std::string&, const std::string&)> key =
        [&](HKey root, const std::string& path, const std::string& id) {
            s.registry.insert(id);
            for (const auto& v : sim.registry.ValueNames(root, path)) {
                s.registry.insert(id + "|" + UpcaseName(v));
            }
            for (const auto& k : sim.registry.SubKeyNames(root, path)) {
                key(root, path.empty() ? k : path + "\\" + k, id + "\\" + UpcaseName(k));
            }
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
    // Drops `name` and, with `tree`, every entry below it.
    const auto drop = [](std::set<std::string>& set, const std::string& name, bool tree) {
        for (auto it = set.lower_bound(name); it != set.end() && it->rfind(name, 0) == 0;) {
            const char next = (*it)[name.size()];
            it = next == '|' || (tree && next == '\\') || next == 0 ? set.erase(it) : ++it;
        }
    };
    for (const preview::Change& c : changes) {
        const std::string file = preview::PathKey(c.target), key = UpcaseName(c.target);
        const auto attributes = [&] {
            auto it = s.files.lower_bound(file + "|");
            return it != s.files.end() && it->rfind(file + "|", 0) == 0
                       ? std::stoul(it->substr(file.size() + 1))
                       : 0ul;
        };
        if (c.action == act::kDeleteFile || c.action == act::kDeleteFolder)
            drop(s.files, file, false);
        // A file outside what the state holds (another drive) stays outside.
        if (c.action == act::kSetAttributes && s.files.lower_bound(file + "|") != s.files.end() &&
            s.files.lower_bound(file + "|")->rfind(file + "|", 0) == 0) {
            const unsigned long bits = (attributes() & ~0x2127ul) | (*c.attributes & 0x2127u);
            drop(s.files, file, false);
            s.files.insert(file + "|" + std::to_string(bits));
        }
        if (c.action == act::kCreateFolder) s.files.insert(file + "|16");
        if (c.action == act::kCreateFile) s.files.insert(file + "|32");
        if (c.action == act::kDeleteKey) drop(s.registry, key, true);
        if (c.action == act::kDeleteValue) s.registry.erase(key + "|" + UpcaseName(*c.value));
        for (std::size_t end = 0; c.action == act::kCreateKey && end != std::string::npos;) {
            end = key.find('\\', end + 1);
            s.registry.insert(key.substr(0, end));
        }
        if (c.action == act::kDeleteCacheEntry) {
            s.cache.erase(std::find(s.cache.begin(), s.cache.end(), c.target));
        }
        if (c.action == act::kClearHistory) s.history.clear();
        if (c.action == act::kEmptyRecycleBin) s.recycled = 0;
    }
    return s;
}

}  // namespace vw::test
