#include "recent_docs.h"

#include <windows.h>

#include "registry.h"

namespace vw::e2e {

namespace {
constexpr char kRecentDocs[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
constexpr char kSubkey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs\\.txt";
}  // namespace

SeededRecentDocs::SeededRecentDocs(bool withTypeSubkey) : withTypeSubkey_(withTypeSubkey) {
    DeleteTree(HKEY_CURRENT_USER, kRecentDocs);
    planted_ = SetString(HKEY_CURRENT_USER, kRecentDocs, "0", "report.txt") &&
               (!withTypeSubkey_ || SetString(HKEY_CURRENT_USER, kSubkey, "0", "report.txt"));
}

SeededRecentDocs::~SeededRecentDocs() {
    DeleteTree(HKEY_CURRENT_USER, kRecentDocs);
}

bool SeededRecentDocs::KeyExists() const {
    return vw::e2e::KeyExists(HKEY_CURRENT_USER, kRecentDocs);
}

bool SeededRecentDocs::Intact() const {
    return GetString(HKEY_CURRENT_USER, kRecentDocs, "0") == std::string("report.txt") &&
           (!withTypeSubkey_ ||
            GetString(HKEY_CURRENT_USER, kSubkey, "0") == std::string("report.txt"));
}

}  // namespace vw::e2e
