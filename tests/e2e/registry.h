#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vw::e2e {

// Creates the key (and its parents) as needed; false when any step failed.
bool SetString(HKEY root, const std::string& path, const std::string& name,
               const std::string& value);

// The REG_SZ value, or nothing when the key or value is missing or of another type.
std::optional<std::string> GetString(HKEY root, const std::string& path, const std::string& name);

bool KeyExists(HKEY root, const std::string& path);

// Removes the key with all it holds; a missing key is no failure.
void DeleteTree(HKEY root, const std::string& path);

// A missing key or value is no failure.
void DeleteValue(HKEY root, const std::string& path, const std::string& name);

}  // namespace vw::e2e
