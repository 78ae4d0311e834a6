#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace vw {

// One of the predefined registry roots. Roots are the platform's 32-bit
// values, sign-extended as the platform extends them, so the decimal text of
// a root converts straight back.
using HKey = std::intptr_t;

namespace hkey {
constexpr HKey kClassesRoot = static_cast<std::int32_t>(0x80000000u);
constexpr HKey kCurrentUser = static_cast<std::int32_t>(0x80000001u);
constexpr HKey kLocalMachine = static_cast<std::int32_t>(0x80000002u);
constexpr HKey kUsers = static_cast<std::int32_t>(0x80000003u);
constexpr HKey kPerformanceData = static_cast<std::int32_t>(0x80000004u);
}  // namespace hkey

// The platform's result codes of registry calls.
namespace regstatus {
constexpr long kSuccess = 0;
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kInvalidHandle = 6;
constexpr long kInvalidParameter = 87;
constexpr long kMoreData = 234;
constexpr long kNoMoreItems = 259;
constexpr long kKeyDeleted = 1018;
}  // namespace regstatus

// Value types.
namespace regtype {
constexpr std::uint32_t kNone = 0;
constexpr std::uint32_t kSz = 1;
constexpr std::uint32_t kExpandSz = 2;
constexpr std::uint32_t kBinary = 3;
constexpr std::uint32_t kDword = 4;
constexpr std::uint32_t kMultiSz = 7;
}  // namespace regtype

// Access rights of an explicit open: query, set, create subkey, enumerate,
// notify, create link; deliberately without DELETE and the standard rights.
constexpr std::uint32_t kKeyAllSpecificRights = 0x3F;

// What the platform tells about a key: only the counts, as nothing here
// sizes a buffer by the longest name or value.
struct KeyInfo {
    std::uint32_t SubKeyCount = 0;
    std::uint32_t ValueCount = 0;
};

class RegKey;

// `key` is set exactly when `status` is 0.
struct RegOpen {
    long status = 0;
    std::unique_ptr<RegKey> key;
};
// REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ data comes as the UTF-8 form of the
// stored UTF-16, every NUL kept; other types as their raw bytes. A missing
// value gives 2, type 0 and no data.
struct RegRead {
    long status = 0;
    std::uint32_t type = regtype::kNone;
    std::string data;
};
struct RegName {
    long status = 0;
    std::string name;
};
struct RegInfo {
    long status = 0;
    KeyInfo info;
};

// An open registry key; closes itself when destroyed.
//
// Every call returns the platform's status and none raises, on either
// backend. Paths are "\"-separated below this key, names and paths UTF-8 and
// read whole, at the registry's own limits. A name or path that is no UTF-8
// or holds a NUL names no key or value: 2, creation 87. Once the key itself
// is deleted, an object still open on it answers 1018 to every call.
// An object has the rights it was opened with: QueryValue and ValueName need
// query value (0x1), DeleteValue set value (0x2), SubKeyName enumerate
// subkeys (0x8); without, 5. Keys below it and QueryInfo need none.
class RegKey {
  public:
    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    virtual ~RegKey() = default;

    // `rights` 0 asks for the platform's default, as RegOpenKey does; any
    // other value is an explicit access mask. A key denying every right
    // refuses a mask (5); the default opens it, but with no right on the
    // key itself: its values and names then answer 5. The empty path opens
    // this key again.
    virtual RegOpen OpenKey(const std::string& path, std::uint32_t rights) = 0;
    // Opens the key with the default rights, creating it and any missing
    // key on its path; an existing key keeps its values and subkeys.
    virtual RegOpen CreateKey(const std::string& path) = 0;
    virtual RegRead QueryValue(const std::string& name) = 0;
    // A missing value gives 2.
    virtual long DeleteValue(const std::string& name) = 0;
    // Deletes a key that has no subkeys, with its values; one with subkeys
    // is refused (5), and so is a root. The empty path deletes this key.
    virtual long DeleteKey(const std::string& path) = 0;
    // What DeleteKey(path) would answer for the key's own right to be
    // deleted, its subkeys aside, asked without changing anything (the key
    // is opened for deletion and closed): 0, 2 missing, 5 refused (a root
    // among them). The base answer only opens it; both backends ask for the
    // right to delete.
    virtual long ProbeDeleteKey(const std::string& path) { return OpenKey(path, 0).status; }
    virtual RegInfo QueryInfo() = 0;
    // The names by index from 0; past the last, 259. Subkeys come sorted;
    // values in no order a caller may rely on.
    virtual RegName SubKeyName(std::uint32_t index) = 0;
    virtual RegName ValueName(std::uint32_t index) = 0;
};

// Where a backend keeps its root keys: the five predefined roots in their
// order, then (5) the key standing for any other value.
inline std::size_t RootSlot(HKey root) {
    const bool known = root >= hkey::kClassesRoot && root <= hkey::kPerformanceData;
    return known ? static_cast<std::size_t>(root - hkey::kClassesRoot) : 5;
}

// The platform's registry.
class Registry {
  public:
    virtual ~Registry() = default;

    // A predefined root, owned by the registry and never closed. Any other
    // value gives a key that answers 6 (invalid handle) to every call.
    virtual RegKey& Root(HKey root) = 0;
};

}  // namespace vw
