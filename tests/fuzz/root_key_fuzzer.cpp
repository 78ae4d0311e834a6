// The split of a full registry path into root and path below it.
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "platform/run_error.h"
#include "registry/reg32.h"

using vw::fuzz::Require;

namespace {

// The root's name for the decimal text ParseRootKey gives; empty if none.
std::string RootName(const std::string& value) {
    static const struct {
        const char* name;
        vw::HKey root;
    } kRoots[] = {
        {"HKEY_CLASSES_ROOT", vw::hkey::kClassesRoot},
        {"HKEY_CURRENT_USER", vw::hkey::kCurrentUser},
        {"HKEY_LOCAL_MACHINE", vw::hkey::kLocalMachine},
        {"HKEY_USERS", vw::hkey::kUsers},
        {"HKEY_PERFORMANCE_DATA", vw::hkey::kPerformanceData},
    };
    for (const auto& r : kRoots) {
        if (std::to_string(r.root) == value) return r.name;
    }
    return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string untouched = "\x01untouched";
    std::string below = untouched;
    std::string root;
    try {
        root = vw::ParseRootKey(input, below);
    } catch (const vw::RunError& e) {
        Require(e.Number() == vw::errnum::kInvalidArgument, "only RunError 5 is raised");
        Require(input.find('\\') == std::string::npos, "only a path without \\ is refused");
        return 0;
    }
    if (root.empty()) {
        Require(below == untouched, "an unknown root leaves the path below alone");
        return 0;
    }
    const std::string name = RootName(root);
    Require(!name.empty(), "a root is one of the five predefined roots");
    Require(name + "\\" + below == input, "root name, \\ and the path below give the input");
    return 0;
}
