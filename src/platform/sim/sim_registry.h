#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/registry.h"

namespace vw::sim {

// An in-memory registry under the five predefined roots, behaving as the
// real one does where the core relies on it: a key with subkeys cannot be
// deleted (5), nor can a root; names of any script are matched without
// regard to case as Windows matches them; subkeys enumerate sorted, values
// in creation order; a key object has the rights it was opened with. Names,
// paths and data are stored as given; paths below a root are "\"-separated.
// Like the real registry, it raises nothing.
class SimRegistry : public Registry {
  public:
    SimRegistry();
    ~SimRegistry() override;

    RegKey& Root(HKey root) override;

    // Seeding and inspection, for tests; a missing key is passed over.
    void AddKey(HKey root, const std::string& path) { Find(root, path, true); }
    // Creates the key as needed; `data` is the value's raw bytes.
    void SetValue(HKey root, const std::string& path, const std::string& name, std::uint32_t type,
                  const std::string& data);
    // A REG_SZ value: the text and its terminating NUL.
    void SetString(HKey root, const std::string& path, const std::string& name,
                   const std::string& text) {
        SetValue(root, path, name, regtype::kSz, text + '\0');
    }
    // Removes the key with everything below it.
    void DeleteKey(HKey root, const std::string& path) { At(root, path).Remove(); }
    // As a deny-all security descriptor does: an open asking for rights is
    // refused (5); the default opens it with no rights, so its values and
    // names answer 5. Its deletion, and keys made and deleted below it, are
    // still allowed.
    void DenyAll(HKey root, const std::string& path) { At(root, path).denyAll = true; }
    // The key's deletion is refused (5) even when it has no subkeys.
    void RefuseDelete(HKey root, const std::string& path) { At(root, path).refuseDelete = true; }
    // The value's deletion is refused (5).
    void RefuseValueDelete(HKey root, const std::string& path, const std::string& name) {
        if (Value* v = At(root, path).Find(name)) v->refuseDelete = true;
    }

    bool KeyExists(HKey root, const std::string& path) const { return Find(root, path) != nullptr; }
    bool ValueExists(HKey root, const std::string& path, const std::string& name) const {
        return At(root, path).Find(name) != nullptr;
    }
    std::vector<std::string> SubKeyNames(HKey root, const std::string& path) const {
        return At(root, path).KeyNames();
    }
    std::vector<std::string> ValueNames(HKey root, const std::string& path) const {
        return At(root, path).ValueNames();
    }
    // Key objects alive, roots aside: each holds a share of `open_`.
    std::size_t OpenHandles() const { return open_.use_count() - 1; }

  private:
    struct Value {
        std::string name, data;
        std::uint32_t type;
        bool refuseDelete = false;
    };
    struct Node {
        std::string name;
        Node* parent = nullptr;
        // By upper-cased name, the order they enumerate in. Key objects share
        // them: one open on a key outlives the key's deletion.
        std::map<std::string, std::shared_ptr<Node>> subKeys;
        std::vector<Value> values;
        bool denyAll = false, refuseDelete = false;
        long status = regstatus::kSuccess;  // what calls on the key answer

        Value* Find(const std::string& name);
        std::vector<std::string> KeyNames() const {
            std::vector<std::string> names;
            for (const auto& [upper, child] : subKeys) names.push_back(child->name);
            return names;
        }
        std::vector<std::string> ValueNames() const {
            std::vector<std::string> names;
            for (const Value& v : values) names.push_back(v.name);
            return names;
        }
        // Takes the key and its subtree out of the registry.
        void Remove();
    };
    using NodePtr = std::shared_ptr<Node>;
    class Key;

    // The key `path` names below `from`; null when one is missing or the
    // path is no name. `create` makes the missing ones.
    static NodePtr Walk(NodePtr from, const std::string& path, bool create);
    NodePtr Find(HKey root, const std::string& path, bool create = false) const;
    // The key to seed or inspect, or an empty one standing for a missing key.
    Node& At(HKey root, const std::string& path) const;

    std::shared_ptr<int> open_ = std::make_shared<int>();
    // The five roots, then the key standing for any other value.
    std::vector<std::unique_ptr<Key>> roots_;
    mutable Node missing_;
};

}  // namespace vw::sim
