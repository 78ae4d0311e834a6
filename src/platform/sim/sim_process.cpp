#include "platform/sim/sim_process.h"

#include "platform/run_error.h"

namespace vw::sim {

std::uint32_t SimProcess::StartProgram(const std::string& path, int showCommand) {
    journal_.push_back("start " + path + " " + std::to_string(showCommand));
    faults_.Check("StartProgram");
    if (!files_.Exists(path)) throw RunError(errnum::kFileNotFound, "File not found");
    if (!files_.IsFile(path))
        throw RunError(errnum::kPathFileAccessError, "Path/File access error");
    started.push_back({path, showCommand});
    // Ids as a fresh machine hands them out: small, distinct, never 0.
    return static_cast<std::uint32_t>(1000 + 4 * started.size());
}

}  // namespace vw::sim
