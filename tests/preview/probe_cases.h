#pragma once

#include <string>

#include "platform/platform.h"

namespace vw::contract {

// What a backend's runner stages before the probe cases run: in `folder`,
// "f.txt" (5 bytes), "ro.txt" (5 bytes, read-only), "held.txt" (held open by
// another program without sharing) and the folder "dir"; below
// HKEY_CURRENT_USER, the key `key` with the subkey "k\sub".
struct ProbeStage {
    Platform& seam;
    std::string folder;
    std::string key;
};

// The probes as both backends answer them; nothing staged may change.
void CheckProbes(const ProbeStage& stage);

}  // namespace vw::contract
