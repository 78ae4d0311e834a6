// The split of a full registry path into root and path below it.
#include "fuzz.h"
#include "platform/registry.h"
#include "platform/run_error.h"
#include "registry/reg32.h"

void vw::fuzz::Check(const std::string& input) {
    std::string below = "\x01untouched", root;
    try {
        root = ParseRootKey(input, below);
    } catch (const RunError& e) {
        Require(e.Number() == errnum::kInvalidArgument, "only RunError 5 is raised");
        Require(input.find('\\') == std::string::npos, "only a path without \\ is refused");
        return;
    }
    const auto slash = input.find('\\');
    if (root.empty())
        return Require(below == "\x01untouched", "an unknown root leaves below alone");
    Require(input.compare(0, 5, "HKEY_") == 0 && slash <= 21, "a root is a root's name");
    Require(std::stoll(root) >= hkey::kClassesRoot && std::stoll(root) <= hkey::kPerformanceData,
            "a root is one of the five predefined roots");
    Require(input.substr(slash + 1) == below, "the path below is the rest of the input");
}
