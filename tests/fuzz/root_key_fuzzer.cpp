// The split of a full registry path into root and path below it.
#include "fuzz.h"
#include "platform/contract/file_cases.h"
#include "registry/reg32.h"

void vw::fuzz::Check(const std::string& input) {
    std::string below = "\x01untouched", root;
    const long error = contract::ErrorOf([&] { root = ParseRootKey(input, below); });
    const auto slash = input.find('\\');
    Require(error == 0 || error == errnum::kInvalidArgument, "only RunError 5 is raised");
    Require(!error || slash == std::string::npos, "only a path without \\ is refused");
    if (error || root.empty())
        return Require(error || below == "\x01untouched", "an unknown root leaves below alone");
    Require(input.compare(0, 5, "HKEY_") == 0 && slash <= 21, "a root is a root's name");
    Require(std::stoll(root) >= hkey::kClassesRoot && std::stoll(root) <= hkey::kPerformanceData,
            "a root is one of the five predefined roots");
    Require(input.substr(slash + 1) == below, "the path below is the rest of the input");
}
