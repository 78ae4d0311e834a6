#pragma once

#include "platform/profile.h"
#include "platform/sim/sim_file_system.h"
#include "text/profile_text.h"

namespace vw::sim {

// Reads the initialization files of the simulated file system by the system
// reader's rules; every read is journaled. The machine's ANSI code page is
// Latin-1.
class SimProfileReader : public ProfileReader {
  public:
    SimProfileReader(SimFileSystem& files, Journal& journal) : files_(files), journal_(journal) {}

    std::string ReadString(const std::string& file, const std::string& section,
                           const std::string& key, std::uint16_t maxUnits) override {
        journal_.push_back("read [" + section + "] " + key);
        if (!files_.IsFile(file)) return {};
        const std::string text = ProfileFileText(files_.Content(file), Latin1ToUtf8);
        return ProfileValue(text, section, key, maxUnits);
    }

  private:
    SimFileSystem& files_;
    Journal& journal_;
};

}  // namespace vw::sim
