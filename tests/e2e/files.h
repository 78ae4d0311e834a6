#pragma once

#include <optional>
#include <string>

namespace vw::e2e {

// Replaces the file's content; false when it could not be written whole.
bool WriteText(const std::string& path, const std::string& text);

// The file's content, or nothing when it cannot be opened.
std::optional<std::string> ReadText(const std::string& path);

// Deletes the file whatever its attributes; a missing file is no failure.
void RemoveFile(const std::string& path);

// Removes a flat folder: its files, then itself. Subfolders are left alone
// (and keep the folder): the scenarios never make any.
void RemoveFlatFolder(const std::string& folder);

// Folder of the running test program, with a trailing backslash.
std::string OwnFolder();

}  // namespace vw::e2e
