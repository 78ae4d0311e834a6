#pragma once

#include "platform/platform.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_ui.h"
#include "platform/sim/sim_url_cache.h"
#include "platform/sim/sim_url_history.h"

namespace vw::sim {

// The whole simulated platform, deterministic and in memory. Tests reach the
// parts directly to seed state, arm faults and read the journal.
class SimPlatform {
  public:
    SimPlatform() {
        files.AddFolder("C:\\");
        // The drives the wash window's drive list shows by default.
        files.AddDrive('A', DriveKind::kRemovable);
        files.AddDrive('D', DriveKind::kCdRom);
        // Installed with the program, empty.
        files.AddFolder(process.programFolder + "\\Custom");
    }
    SimPlatform(const SimPlatform&) = delete;
    SimPlatform& operator=(const SimPlatform&) = delete;

    Platform& platform() { return view_; }

    Journal journal;
    SimFaults faults;
    SimFileSystem files{faults, journal};
    SimProfileReader profile{files, journal};
    SimShell shell{journal};
    SimProcess process{files, journal};
    SimUi ui{faults, journal};
    SimRegistry registry;
    SimUrlCache urlCache{journal};
    SimUrlHistory urlHistory{faults, journal};

  private:
    Platform view_{profile, shell, process, files, ui, registry, urlCache, urlHistory};
};

}  // namespace vw::sim
