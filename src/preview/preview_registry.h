#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "preview/change_log.h"

namespace vw::preview {

// The registry as the wash would find it: reads go to the real registry,
// deletions and creations are recorded and held back, and later reads see
// them. Enumeration by index lists the real names, drops the deleted and
// adds the created, and indexes into that, so a walk that deletes as it
// goes moves on as it would on the real registry. A deletion the registry
// would refuse answers as the registry would (a key with subkeys as the
// overlay sees it, one whose own right refuses it: ProbeDeleteKey).
class PreviewRegistry : public Registry {
  public:
    PreviewRegistry(Registry& real, ChangeLog& log);
    ~PreviewRegistry() override;

    RegKey& Root(HKey root) override;

  private:
    class Key;

    // `id` or a key above it is deleted.
    bool Hidden(const std::string& id) const;
    // The ids of the keys made directly below `id`.
    std::vector<std::string> CreatedBelow(const std::string& id) const;

    Registry& real_;
    ChangeLog& log_;
    std::uint64_t generation_ = 0;                                // grows with every change
    std::set<std::string> deleted_;                               // by id, with their subtrees
    std::map<std::string, std::string> created_;                  // by id: the name as given
    std::map<std::string, std::set<std::string>> deletedValues_;  // by id: upper-cased names
    std::vector<std::unique_ptr<Key>> roots_;
};

}  // namespace vw::preview
