#include "preview/preview_registry.h"

#include <algorithm>
#include <utility>

#include "text/name_case.h"
#include "text/utf8.h"

namespace vw::preview {

namespace {

const char* const kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                  "HKEY_USERS", "HKEY_PERFORMANCE_DATA"};

std::string Join(const std::string& a, const std::string& b) {
    return a.empty() ? b : b.empty() ? a : a + "\\" + b;
}

bool IsChild(const std::string& parent, const std::string& id) {
    return id.size() > parent.size() + 1 && id.compare(0, parent.size(), parent) == 0 &&
           id[parent.size()] == '\\' && id.find('\\', parent.size() + 1) == std::string::npos;
}

}  // namespace

std::vector<std::string> PreviewRegistry::CreatedBelow(const std::string& id) const {
    std::vector<std::string> children;
    const std::string prefix = id + "\\";
    for (auto it = created_.lower_bound(prefix);
         it != created_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
        if (IsChild(id, it->first)) children.push_back(it->first);
    }
    return children;
}

bool PreviewRegistry::Hidden(const std::string& id) const {
    for (std::size_t end = id.find('\\'); end != std::string::npos; end = id.find('\\', end + 1)) {
        if (deleted_.count(id.substr(0, end))) return true;
    }
    return deleted_.count(id) > 0;
}

class PreviewRegistry::Key final : public RegKey {
  public:
    // A root, or (null `real`) the stand-in for an invalid one.
    Key(PreviewRegistry& owner, std::size_t slot, RegKey& real)
        : owner_(owner),
          root_(slot < 5 ? kRootNames[slot] : ""),
          id_(std::to_string(slot)),
          real_(&real),
          isRoot_(true),
          invalid_(slot >= 5) {}
    // Opened below a root; without `real`, one that exists in the overlay only.
    Key(PreviewRegistry& owner, std::string root, std::string path, std::string id,
        std::unique_ptr<RegKey> real)
        : owner_(owner),
          root_(std::move(root)),
          path_(std::move(path)),
          id_(std::move(id)),
          owned_(std::move(real)),
          real_(owned_.get()) {}

    RegOpen OpenKey(const std::string& path, std::uint32_t rights) override {
        if (const long s = Status()) return {s, nullptr};
        if (!IsPlatformName(path)) return {regstatus::kFileNotFound, nullptr};
        const Target t = Resolve(path);
        if (owner_.created_.count(t.id)) return {regstatus::kSuccess, Made(t)};
        if (owner_.Hidden(t.id) || !real_) return {regstatus::kFileNotFound, nullptr};
        RegOpen open = real_->OpenKey(path, rights);
        if (open.status != regstatus::kSuccess) return {open.status, nullptr};
        return {regstatus::kSuccess,
                std::make_unique<Key>(owner_, root_, t.path, t.id, std::move(open.key))};
    }

    RegOpen CreateKey(const std::string& path) override {
        if (const long s = Status()) return {s, nullptr};
        if (!IsPlatformName(path)) return {regstatus::kInvalidParameter, nullptr};
        std::vector<Target> missing;
        std::string relative;
        for (const std::string& name : Split(path)) {
            relative = Join(relative, name);
            const Target t = Resolve(relative);
            if (missing.empty() && Exists(t, relative)) continue;
            missing.push_back(t);
        }
        if (missing.empty()) return OpenKey(path, 0);
        owner_.log_.Record(action::kCreateKey, Full(missing.back()));
        for (const Target& t : missing) owner_.created_[t.id] = t.name;
        ++owner_.generation_;
        return {regstatus::kSuccess, Made(missing.back())};
    }

    RegRead QueryValue(const std::string& name) override {
        if (const long s = Status()) return {s, regtype::kNone, {}};
        if (!real_ || ValueGone(name)) return {regstatus::kFileNotFound, regtype::kNone, {}};
        return real_->QueryValue(name);
    }

    long DeleteValue(const std::string& name) override {
        if (const long s = Status()) return s;
        if (!real_ || ValueGone(name)) return regstatus::kFileNotFound;
        // Without the right to read it there is none to delete it either.
        const long status = real_->QueryValue(name).status;
        if (status != regstatus::kSuccess) return status;
        owner_.log_.Record(action::kDeleteValue, Full({path_, id_, ""})).value = name;
        owner_.deletedValues_[id_].insert(UpcaseName(name));
        const bool current = valuesAt_ == owner_.generation_;
        ++owner_.generation_;
        if (current) {
            const auto it = std::find_if(values_.begin(), values_.end(), [&](const std::string& v) {
                return UpcaseName(v) == UpcaseName(name);
            });
            if (it != values_.end()) values_.erase(it);
            valuesAt_ = owner_.generation_;
        }
        return regstatus::kSuccess;
    }

    long DeleteKey(const std::string& path) override {
        const long status = ProbeDeleteKey(path);
        if (status != regstatus::kSuccess) return status;
        const Target t = Resolve(path);
        if (HasSubKeys(t, path)) return regstatus::kAccessDenied;
        owner_.log_.Record(action::kDeleteKey, Full(t));
        const auto drop = [&](auto& ids) {
            for (auto it = ids.lower_bound(t.id); it != ids.end();) {
                const std::string& id = it->first;
                if (id != t.id && id.compare(0, t.id.size() + 1, t.id + "\\") != 0) break;
                it = ids.erase(it);
            }
        };
        drop(owner_.created_);
        drop(owner_.deletedValues_);
        owner_.deleted_.insert(t.id);
        ++owner_.generation_;
        return regstatus::kSuccess;
    }

    long ProbeDeleteKey(const std::string& path) override {
        if (const long s = Status()) return s;
        if (!IsPlatformName(path)) return regstatus::kFileNotFound;
        const Target t = Resolve(path);
        if (t.path.empty()) return regstatus::kAccessDenied;  // a root stays
        if (owner_.created_.count(t.id)) return regstatus::kSuccess;
        if (owner_.Hidden(t.id) || !real_) return regstatus::kFileNotFound;
        return real_->ProbeDeleteKey(path);
    }

    RegInfo QueryInfo() override {
        if (const long s = Status()) return {s, {}};
        RegInfo info;
        if (real_) {
            info = real_->QueryInfo();
            if (info.status != regstatus::kSuccess) return info;
        }
        const auto& keys = VisibleKeys();
        info.info.SubKeyCount = keysEnd_ == regstatus::kNoMoreItems
                                    ? std::uint32_t(keys.size())
                                    : UnlistedCount(id_, info.info.SubKeyCount);
        const auto& values = VisibleValues();
        if (valuesEnd_ == regstatus::kNoMoreItems) {
            info.info.ValueCount = std::uint32_t(values.size());
        }
        return info;
    }

    RegName SubKeyName(std::uint32_t index) override {
        if (const long s = Status()) return {s, {}};
        const auto& keys = VisibleKeys();
        if (index < keys.size()) return {regstatus::kSuccess, keys[index]};
        return {keysEnd_, {}};
    }

    RegName ValueName(std::uint32_t index) override {
        if (const long s = Status()) return {s, {}};
        const auto& values = VisibleValues();
        if (index < values.size()) return {regstatus::kSuccess, values[index]};
        return {valuesEnd_, {}};
    }

  private:
    struct Target {
        std::string path;  // below the root, as given
        std::string id;
        std::string name;  // the last name, as given
    };

    static std::vector<std::string> Split(const std::string& path) {
        std::vector<std::string> names;
        for (std::size_t start = 0; start <= path.size();) {
            const std::size_t end = std::min(path.find('\\', start), path.size());
            if (end > start) names.push_back(path.substr(start, end - start));
            start = end + 1;
        }
        return names;
    }

    Target Resolve(const std::string& relative) const {
        Target t{path_, id_, ""};
        for (const std::string& name : Split(relative)) {
            t.path = Join(t.path, name);
            t.id += "\\" + UpcaseName(name);
            t.name = name;
        }
        return t;
    }

    std::string Full(const Target& t) const { return Join(root_, t.path); }

    std::unique_ptr<RegKey> Made(const Target& t) const {
        return std::make_unique<Key>(owner_, root_, t.path, t.id, nullptr);
    }

    long Status() const {
        if (invalid_) return regstatus::kInvalidHandle;
        const bool alive = isRoot_ || owner_.created_.count(id_) || !owner_.Hidden(id_);
        return alive ? regstatus::kSuccess : regstatus::kKeyDeleted;
    }

    bool Exists(const Target& t, const std::string& relative) const {
        if (owner_.created_.count(t.id)) return true;
        if (owner_.Hidden(t.id) || !real_) return false;
        const long status = real_->OpenKey(relative, 0).status;
        return status == regstatus::kSuccess || status == regstatus::kAccessDenied;
    }

    bool ValueGone(const std::string& name) const {
        const auto gone = owner_.deletedValues_.find(id_);
        return gone != owner_.deletedValues_.end() && gone->second.count(UpcaseName(name));
    }

    // Subkeys as the overlay sees them; those it cannot list count as there.
    bool HasSubKeys(const Target& t, const std::string& relative) const {
        if (!owner_.CreatedBelow(t.id).empty()) return true;
        if (owner_.created_.count(t.id) || !real_) return false;
        const RegOpen open = real_->OpenKey(relative, 0);
        if (!open.key) return false;
        const RegInfo info = open.key->QueryInfo();
        if (info.status != regstatus::kSuccess || info.info.SubKeyCount == 0) return false;
        for (std::uint32_t i = 0;; ++i) {
            const RegName name = open.key->SubKeyName(i);
            if (name.status == regstatus::kNoMoreItems) return false;
            if (name.status != regstatus::kSuccess) break;
            if (!owner_.deleted_.count(t.id + "\\" + UpcaseName(name.name))) return true;
        }
        return UnlistedCount(t.id, info.info.SubKeyCount) > 0;
    }

    // The subkeys of a key that may not list their names: the real count
    // less those deleted here, with those made here.
    std::uint32_t UnlistedCount(const std::string& id, std::uint32_t real) const {
        std::uint32_t deleted = 0;
        const std::string prefix = id + "\\";
        for (auto it = owner_.deleted_.lower_bound(prefix);
             it != owner_.deleted_.end() && it->compare(0, prefix.size(), prefix) == 0; ++it) {
            if (IsChild(id, *it)) ++deleted;
        }
        return real - std::min(real, deleted) + std::uint32_t(owner_.CreatedBelow(id).size());
    }

    // The real names of one kind, read once: the real registry does not
    // change while a preview runs.
    template <typename Fetch>
    void ReadAll(std::vector<std::string>& names, long& end, bool& read, Fetch fetch) {
        if (read) return;
        read = true;
        end = regstatus::kNoMoreItems;
        if (!real_) return;
        for (std::uint32_t i = 0;; ++i) {
            RegName name = fetch(i);
            if (name.status != regstatus::kSuccess) {
                end = name.status;
                return;
            }
            names.push_back(std::move(name.name));
        }
    }

    const std::vector<std::string>& VisibleKeys() {
        if (keysAt_ == owner_.generation_) return keys_;
        ReadAll(realKeys_, keysEnd_, keysRead_,
                [&](std::uint32_t i) { return real_->SubKeyName(i); });
        keys_.clear();
        for (const std::string& name : realKeys_) {
            if (!owner_.deleted_.count(id_ + "\\" + UpcaseName(name))) keys_.push_back(name);
        }
        // Keys made here go where the registry's sorted order puts them, in
        // a key that lists its names.
        for (const std::string& id : owner_.CreatedBelow(id_)) {
            if (keysEnd_ != regstatus::kNoMoreItems) break;
            const std::string upper = id.substr(id_.size() + 1);
            const auto at = std::find_if(keys_.begin(), keys_.end(), [&](const std::string& k) {
                return UpcaseName(k) >= upper;
            });
            if (at == keys_.end() || UpcaseName(*at) != upper) {
                keys_.insert(at, owner_.created_.at(id));
            }
        }
        keysAt_ = owner_.generation_;
        return keys_;
    }

    const std::vector<std::string>& VisibleValues() {
        if (valuesAt_ == owner_.generation_) return values_;
        ReadAll(realValues_, valuesEnd_, valuesRead_,
                [&](std::uint32_t i) { return real_->ValueName(i); });
        values_.clear();
        for (const std::string& name : realValues_) {
            if (!ValueGone(name)) values_.push_back(name);
        }
        valuesAt_ = owner_.generation_;
        return values_;
    }

    PreviewRegistry& owner_;
    std::string root_, path_, id_;
    std::unique_ptr<RegKey> owned_;
    RegKey* real_;
    bool isRoot_ = false, invalid_ = false;

    std::vector<std::string> realKeys_, realValues_, keys_, values_;
    long keysEnd_ = regstatus::kNoMoreItems, valuesEnd_ = regstatus::kNoMoreItems;
    bool keysRead_ = false, valuesRead_ = false;
    std::uint64_t keysAt_ = ~0ull, valuesAt_ = ~0ull;
};

PreviewRegistry::PreviewRegistry(Registry& real, ChangeLog& log) : real_(real), log_(log) {
    for (std::size_t slot = 0; slot <= 5; ++slot) {
        const HKey root = slot < 5 ? hkey::kClassesRoot + HKey(slot) : 0;
        roots_.push_back(std::make_unique<Key>(*this, slot, real_.Root(root)));
    }
}

PreviewRegistry::~PreviewRegistry() = default;

RegKey& PreviewRegistry::Root(HKey root) {
    return *roots_[RootSlot(root)];
}

}  // namespace vw::preview
