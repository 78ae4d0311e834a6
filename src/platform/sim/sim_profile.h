#pragma once

#include "platform/profile.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_file_system.h"

namespace vw::sim {

// Reads initialization files kept in the simulated file system, following
// the real reader's rules; every read is journaled.
class SimProfileReader : public ProfileReader {
  public:
    SimProfileReader(SimFileSystem& files, Journal& journal) : files_(files), journal_(journal) {}

    std::uint32_t GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                           const std::string& defaultValue, char* buffer,
                                           std::uint32_t size, const std::string& file) override;

  private:
    SimFileSystem& files_;
    Journal& journal_;
};

// The raw value of `key` in `section` of an initialization file's text, as
// the real reader finds it (names matched without regard to case, blanks
// trimmed, quotes not yet removed); false when there is none.
bool FindProfileValue(const std::string& text, const std::string& section, const std::string& key,
                      std::string& value);

}  // namespace vw::sim
