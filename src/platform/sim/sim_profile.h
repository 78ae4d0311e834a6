#pragma once

#include <string>
#include <string_view>

#include "platform/profile.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_file_system.h"

namespace vw::sim {

// Reads initialization files kept in the simulated file system, following
// the real reader's rules; every read is journaled. The simulated machine's
// ANSI code page is Latin-1.
class SimProfileReader : public ProfileReader {
  public:
    SimProfileReader(SimFileSystem& files, Journal& journal) : files_(files), journal_(journal) {}

    std::string GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                         const std::string& defaultValue, std::uint32_t size,
                                         const std::string& file) override;

  private:
    SimFileSystem& files_;
    Journal& journal_;
};

// An initialization file's bytes as text (UTF-8), decoded the way the
// reader decodes them (see ProfileReader).
std::string ProfileFileText(std::string_view bytes);

}  // namespace vw::sim
