#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vw::contract {

// A fresh folder and a fresh registry key for one probe case, staged with
// the backend's own means. Names are relative to the folder or the key.
class ProbeStage {
  public:
    virtual ~ProbeStage() = default;
    virtual Platform& Seam() = 0;
    // Full path of the folder, without a trailing "\".
    virtual const std::string& Folder() const = 0;
    virtual void MakeFile(const std::string& name, const std::string& bytes,
                          std::uint32_t attributes = 0) = 0;
    virtual void MakeFolder(const std::string& name) = 0;
    // Held open by another program without sharing while the stage lives.
    virtual void HoldOpen(const std::string& name) = 0;
    virtual bool FileExists(const std::string& name) = 0;
    // The key's path below HKEY_CURRENT_USER.
    virtual const std::string& Key() const = 0;
    virtual void MakeKey(const std::string& path) = 0;
    virtual bool KeyExists(const std::string& path) = 0;
};

// One probe behaviour both backends show alike.
struct ProbeCase {
    std::string name;
    std::function<void(ProbeStage& stage)> run;
};
const std::vector<ProbeCase>& ProbeCases();
inline void PrintTo(const ProbeCase& c, std::ostream* os) {
    *os << c.name;
}

}  // namespace vw::contract
