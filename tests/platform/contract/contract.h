#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vw::contract {

// What a backend's runner stages by its own means, where the seam has no
// call for it. Files and keys are staged and inspected through the seam:
// every case runs alike on both backends, so a backend cannot agree with
// itself alone. Paths are full; keys below HKEY_CURRENT_USER.
struct Stage {
    virtual ~Stage() = default;
    // The parts under test; their ui is simulated, so boxes are recorded.
    virtual Platform& Parts() = 0;
    virtual std::string Root() = 0;     // "~" in a case: a fresh folder
    virtual std::string Scratch() = 0;  // "$" in a case: a fresh, empty key
    // Held open without sharing, as another program would, while the stage lives.
    virtual void HoldOpen(const std::string& path) = 0;
    virtual void SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                          const std::string& data) = 0;
    // Every later open asking for rights is refused: seed what lies below first.
    virtual void DenyAll(const std::string& path) = 0;
    // The real cache is given the type a browser commits, the simulation the
    // type the platform then lists.
    virtual void Commit(const std::string& url, std::uint32_t committedAs, std::uint32_t listedAs,
                        std::size_t headerBytes) = 0;
    virtual std::optional<std::size_t> OpenHandles() { return std::nullopt; }
    // A step only this backend can stage; any other is "unsupported".
    virtual std::string Extra(const std::vector<std::string>&) { return "unsupported"; }
};

// One case of cases.txt (its format is described there); header: the "case"
// line, a blank after it.
struct Case {
    std::string name, header;
    std::vector<std::string> lines;
    bool Has(const std::string& tag) const { return header.find(" " + tag + " ") != header.npos; }
    friend void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }
};
const std::vector<Case>& Cases();

// Runs the case's steps meant for `backend` ("sim" or "wine") and checks
// every answer; afterwards no key may be left open.
void Run(const Case& c, Stage& stage, const std::string& backend);

}  // namespace vw::contract
