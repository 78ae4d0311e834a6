#include "platform/sim/sim_platform.h"

namespace vw::sim {

SimPlatform::SimPlatform()
    : view_{profile, shell, process, files, ui, registry, urlCache, urlHistory} {
    files.AddFolder("C:\\");
    // The drives the wash window's drive list shows by default.
    files.AddDrive('A', DriveKind::kRemovable);
    files.AddDrive('D', DriveKind::kCdRom);
    // Installed with the program, empty.
    files.AddFolder(process.programFolder + "\\Custom");
}

}  // namespace vw::sim
