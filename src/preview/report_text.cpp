#include <cstdio>
#include <map>
#include <set>

#include "preview/preview_files.h"
#include "preview/report.h"

namespace vw::preview {

namespace {

struct Sum {
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
};

bool IsRemoval(const Change& c) {
    return c.action == action::kDeleteFile || c.action == action::kDeleteFolder;
}

// The outermost folder of `folders` that holds `key`, or "".
std::string OutermostFolder(const std::string& key, const std::set<std::string>& folders) {
    std::string found;
    for (std::string up = ParentKey(key); !up.empty(); up = ParentKey(up)) {
        if (folders.count(up)) found = up;
    }
    return found;
}

// Run-time errors by their number; the store's HRESULTs as the system writes them.
std::string ErrorNumber(long number) {
    if (number >= 0) return std::to_string(number);
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(number));
    return text;
}

std::string Bytes(std::uint64_t n) {
    return std::to_string(n) + (n == 1 ? " byte" : " bytes");
}

std::string Count(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void WriteItem(const std::vector<const Change*>& changes, std::ostream& out) {
    std::set<std::string> folders;
    for (const Change* c : changes) {
        if (c->action == action::kDeleteFolder) folders.insert(PathKey(c->target));
    }
    std::map<std::string, Sum> inFolder;
    for (const Change* c : changes) {
        if (!IsRemoval(*c)) continue;
        const std::string folder = OutermostFolder(PathKey(c->target), folders);
        if (folder.empty() || c->action != action::kDeleteFile) continue;
        inFolder[folder].files += 1;
        inFolder[folder].bytes += c->bytes.value_or(0);
    }

    Sum removed;
    std::uint64_t attributeChanges = 0, cacheEntries = 0;
    for (const Change* c : changes) {
        if (c->action == action::kDeleteFile) {
            removed.files += 1;
            removed.bytes += c->bytes.value_or(0);
        }
        if (c->action == action::kSetAttributes) {
            ++attributeChanges;
            continue;
        }
        if (IsRemoval(*c) && !OutermostFolder(PathKey(c->target), folders).empty()) continue;
        out << "    " << c->action;
        if (!c->target.empty()) out << "  " << c->target;
        if (c->value) out << " : \"" << *c->value << "\"";
        if (c->action == action::kDeleteFolder) {
            const Sum sum = inFolder[PathKey(c->target)];
            out << " (" << Count(sum.files, "file", "files") << ", " << Bytes(sum.bytes) << ")";
        } else if (c->count) {
            out << " (" << Count(*c->count, "item", "items");
            if (c->bytes) out << ", " << Bytes(*c->bytes);
            out << ")";
        } else if (c->bytes) {
            out << " (" << Bytes(*c->bytes) << ")";
        }
        out << "\n";
        if (c->action == action::kDeleteCacheEntry) ++cacheEntries;
    }
    if (removed.files > 0 || cacheEntries > 0) {
        out << "    in all:";
        if (removed.files > 0) {
            out << " " << Count(removed.files, "file", "files") << ", " << Bytes(removed.bytes);
        }
        if (removed.files > 0 && cacheEntries > 0) out << ";";
        if (cacheEntries > 0) out << " " << Count(cacheEntries, "cache entry", "cache entries");
        out << "\n";
    }
    if (attributeChanges > 0) {
        out << "    and " << Count(attributeChanges, "attribute change", "attribute changes")
            << " before deletion\n";
    }
}

}  // namespace

void WriteTextReport(const PreviewResult& result, std::ostream& out) {
    const ChangeLog& log = result.log;
    const int items = static_cast<int>(ItemCount());
    out << "What a wash would do now (nothing has been changed):\n";
    for (int step = 1; step <= items; ++step) {
        const bool on = static_cast<std::size_t>(step) <= result.switchedOn.size() &&
                        result.switchedOn[static_cast<std::size_t>(step) - 1];
        out << step << ". " << ItemName(step) << ": " << (on ? "on" : "off");
        if (result.ended && step > result.endStep) out << ", not reached";
        out << "\n";
        std::vector<const Change*> changes;
        for (const Change& c : log.Changes()) {
            if (c.step == step) changes.push_back(&c);
        }
        WriteItem(changes, out);
    }
    std::vector<const Change*> after;
    for (const Change& c : log.Changes()) {
        if (c.step > items) after.push_back(&c);
    }
    WriteItem(after, out);

    out << "Boxes the run would show:" << (log.Boxes().empty() ? " none" : "") << "\n";
    for (const Box& box : log.Boxes()) {
        out << "    ";
        if (box.step <= items) {
            out << "in step " << box.step << ", " << ItemName(box.step);
        } else {
            out << "at the end of the run";
        }
        out << ": \"" << box.text << "\" (" << box.caption << ")\n";
    }

    out << "The run: ";
    if (!result.ended) {
        out << "complete\n";
    } else {
        out << "ends at step " << result.endStep << ", " << ItemName(result.endStep) << ": "
            << result.ended->what() << " (" << ErrorNumber(result.ended->Number()) << ")\n";
        for (int step = result.endStep + 1; step <= items; ++step) {
            out << "    not reached: " << step << ". " << ItemName(step) << "\n";
        }
    }

    out << "What a preview cannot know:\n"
        << "    files, entries and keys made, opened or locked between this preview and the "
           "wash;\n"
        << "    refusals the platform tells only when asked to change: a cache entry in use, a "
           "value whose deletion is refused, a disk that fills while a file is overwritten, a "
           "program that will not start, a history store that cannot be cleared.\n";
}

}  // namespace vw::preview
