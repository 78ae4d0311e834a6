#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim_ui.h"

namespace vw::contract {

// What a registry case runs in, given by each backend's runner: one fixture
// per case. Paths are below HKEY_CURRENT_USER. Seeding and inspection go
// around the backend under test, so no case checks a backend by itself.
class RegistryFixture {
  public:
    virtual ~RegistryFixture() = default;

    // Its registry is the backend under test; its ui records message boxes.
    virtual Platform& platform() = 0;
    virtual const std::vector<sim::SimMessageBox>& boxes() const = 0;
    // An existing, empty key, removed with everything below it afterwards.
    virtual const std::string& scratch() const = 0;

    // Creates the key and any missing key on its path.
    virtual void AddKey(const std::string& path) = 0;
    virtual void SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                          const std::string& data) = 0;
    // From now on every open of the key asking for rights is refused: seed
    // what lies below it first.
    virtual void DenyAll(const std::string& path) = 0;

    virtual bool KeyExists(const std::string& path) = 0;
    virtual bool ValueExists(const std::string& path, const std::string& name) = 0;
    // The key objects left open, where the backend can tell.
    virtual std::optional<std::size_t> OpenHandles() const = 0;
};

struct RegistryCase {
    const char* name;  // the test's name: letters, digits and "_"
    void (*run)(RegistryFixture& f);
};

// The platform's answers the registry layer is built on, then the layer
// (registry/reg32.h) on the backend.
const std::vector<RegistryCase>& RegistryCases();

// Runs one case in its fixture; afterwards no key may be left open.
void RunRegistryCase(const RegistryCase& c, RegistryFixture& f);

}  // namespace vw::contract
