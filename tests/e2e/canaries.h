#pragma once

#include <string>

namespace vw::e2e {

// Registry values and files no scenario here may touch: keys under
// HKCU\Software\VantrixCanary and HKLM\Software\VantrixCanary, a seeded Run
// history (RunMRU a, b, MRUList), a file in the Temp folder and one in C:\.
// Planted on construction, removed on destruction.
class Canaries {
  public:
    Canaries();
    ~Canaries();
    Canaries(const Canaries&) = delete;
    Canaries& operator=(const Canaries&) = delete;

    // What could not be planted, one item a line; empty when all were.
    const std::string& PlantProblems() const { return plantProblems_; }
    // What is missing or changed, one item a line; empty when all are intact.
    std::string Damage() const;

  private:
    std::string plantProblems_;
};

}  // namespace vw::e2e
