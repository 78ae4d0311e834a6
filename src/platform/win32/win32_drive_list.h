#pragma once

#include <string>
#include <vector>

namespace vw::win32 {

// The machine's drives as a drive list box shows them, in letter order: the
// letter in lower case and a colon, then " [label]" when the volume has a
// label ("c: [system]"), in UTF-8. A drive that is not ready is listed
// without a label.
std::vector<std::string> DriveListEntries();

// One entry of that list, for the drive whose root folder is `root` ("C:\"
// for C:); both UTF-8.
std::string DriveListEntry(const std::string& root, const std::string& label);

}  // namespace vw::win32
