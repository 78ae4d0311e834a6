#include "platform/sim/sim_platform.h"

namespace vw::sim {

SimPlatform::SimPlatform()
    : view_{profile, shell, process, files, ui, registry, urlCache, urlHistory} {
    files.AddFolder("C:\\");
    files.AddFolder(process.programFolder);
}

}  // namespace vw::sim
