#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/sim/sim_faults.h"

namespace vw::sim {

// An in-memory registry under the five predefined roots, behaving as the
// real one does where the core relies on it: a key with subkeys cannot be
// deleted (5), the empty path addresses the handle's own key, roots cannot
// be deleted, names of any script are matched without regard to case as
// Windows matches them, subkeys enumerate sorted and values in creation
// order. Names, paths and string data are UTF-8 and stored as given; a name
// that is no UTF-8 or holds a NUL names nothing. Paths below a root are
// "\"-separated, without a leading "\".
class SimRegistry : public Registry {
  public:
    explicit SimRegistry(SimFaults& faults) : faults_(faults) {}

    // Seeding and inspection, for tests.
    void AddKey(HKey root, const std::string& path);
    // Creates the key as needed; `data` is the value's raw bytes.
    void SetValue(HKey root, const std::string& path, const std::string& name, std::uint32_t type,
                  const std::string& data);
    // A REG_SZ value: the text and its terminating NUL.
    void SetString(HKey root, const std::string& path, const std::string& name,
                   const std::string& text);
    // As a deny-all security descriptor does: every open of the key is
    // refused (5), while its deletion is still allowed once it has no subkeys.
    void DenyAll(HKey root, const std::string& path);
    // The key's deletion is refused (5) even when it has no subkeys.
    void RefuseDelete(HKey root, const std::string& path);
    // The value's deletion is refused (5).
    void RefuseValueDelete(HKey root, const std::string& path, const std::string& name);

    bool KeyExists(HKey root, const std::string& path) const;
    bool ValueExists(HKey root, const std::string& path, const std::string& name) const;
    std::vector<std::string> SubKeyNames(HKey root, const std::string& path) const;
    std::vector<std::string> ValueNames(HKey root, const std::string& path) const;
    // Handles opened and not closed yet.
    std::size_t OpenHandles() const { return handles_.size(); }

    long RegCreateKeyA(HKey key, const std::string& subKey, HKey& result) override;
    long RegOpenKeyA(HKey key, const std::string& subKey, HKey& result) override;
    long RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options,
                       std::uint32_t samDesired, HKey& result) override;
    long RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type, char* data,
                          std::uint32_t* dataSize) override;
    long RegDeleteValueA(HKey key, const std::string& valueName) override;
    long RegDeleteKeyA(HKey key, const std::string& subKey) override;
    long RegQueryInfoKeyA(HKey key, std::uint32_t* subKeys, std::uint32_t* maxSubKeyLen,
                          std::uint32_t* values, std::uint32_t* maxValueNameLen,
                          std::uint32_t* maxValueLen) override;
    long RegEnumKeyExA(HKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) override;
    long RegEnumValueA(HKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                       std::uint32_t* type, unsigned char* data, std::uint32_t* dataSize) override;
    long RegCloseKey(HKey key) override;

  private:
    struct Value {
        std::string name;
        std::uint32_t type;
        std::string data;
        bool refuseDelete = false;
    };
    struct Node {
        std::string name;
        Node* parent = nullptr;
        std::map<std::string, std::unique_ptr<Node>> subKeys;  // by upper-cased name
        std::vector<Value> values;
        bool denyAll = false;
        bool refuseDelete = false;
        bool deleted = false;
    };

    Node* Root(HKey root);
    const Node* Root(HKey root) const;
    // The key a handle refers to; null for an unknown handle.
    Node* Resolve(HKey key);
    // Walks `path` from `from`; null when a component is missing.
    static Node* Walk(Node* from, const std::string& path);
    Node* Find(HKey root, const std::string& path) const;
    Node* Create(Node* from, const std::string& path);
    HKey NewHandle(Node* node);
    Value* FindValue(Node* node, const std::string& name);
    long Open(HKey key, const std::string& subKey, HKey& result);

    SimFaults& faults_;
    std::map<HKey, std::unique_ptr<Node>> roots_;
    // Open handles. A handle keeps its key alive after the key's deletion,
    // as the platform does; calls on it then fail.
    std::map<HKey, Node*> handles_;
    std::vector<std::unique_ptr<Node>> deletedKeys_;
    HKey nextHandle_ = 0x1000;
};

}  // namespace vw::sim
