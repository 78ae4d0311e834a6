#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace vw {

// The registry access layer every washer goes through. Each operation opens
// what it needs and closes it before it returns; a missing key or value is
// never an error. `root` is a predefined root; paths, names and text are
// UTF-8, as at the seam.

// Opens the key, creating it and any missing keys on its path.
void CreateRegKey(Platform& p, HKey root, const std::string& path);

// A REG_SZ value's text up to its first NUL; empty for anything else
// (missing key or value, other types, a failed read).
std::string GetRegString(Platform& p, HKey root, const std::string& path, const std::string& name);

void DeleteRegValue(Platform& p, HKey root, const std::string& path, const std::string& name);

// Removes the key with its values and whole subtree. Returns 0 once the key
// could be opened for the walk, the platform's status when it was deleted at
// once or could not be opened (2 missing, 5 access denied after the
// "Access denied to delete registry key." box).
long DeleteRegKeyTree(Platform& p, HKey root, const std::string& path);

// Deletes every value of the key whose name begins with `prefix`, without
// regard to case as Windows compares names (see text/name_case.h); an
// empty prefix matches every value.
void DeleteRegValuesByPrefix(Platform& p, HKey root, const std::string& path,
                             const std::string& prefix);

// Splits "HKEY_...\path" into the root's value as signed decimal text and
// the path below it. An unknown root name (exact case) gives "" and leaves
// `below` as it was. Raises RunError 5 for a path without "\".
std::string ParseRootKey(const std::string& fullPath, std::string& below);

// The text before the first NUL.
std::string TrimAtNull(const std::string& s);

// What the layer tells the user when a key can be neither deleted nor opened.
inline constexpr const char* kAccessDeniedText = "Access denied to delete registry key.";
inline constexpr const char* kAccessDeniedTitle = "Access Denied";

}  // namespace vw
