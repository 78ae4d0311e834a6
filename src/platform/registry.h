#pragma once

#include <cstdint>
#include <string>

namespace vw {

// A registry key handle: a predefined root or a key opened through Registry.
// Roots are the platform's 32-bit values, sign-extended as the platform
// extends them, so the decimal text of a root converts straight back.
using HKey = std::intptr_t;

namespace hkey {
constexpr HKey kClassesRoot = static_cast<std::int32_t>(0x80000000u);
constexpr HKey kCurrentUser = static_cast<std::int32_t>(0x80000001u);
constexpr HKey kLocalMachine = static_cast<std::int32_t>(0x80000002u);
constexpr HKey kUsers = static_cast<std::int32_t>(0x80000003u);
constexpr HKey kPerformanceData = static_cast<std::int32_t>(0x80000004u);
}  // namespace hkey

// Result codes of the registry calls that the core looks at.
namespace regstatus {
constexpr long kSuccess = 0;
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kInvalidHandle = 6;
constexpr long kMoreData = 234;
constexpr long kNoMoreItems = 259;
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

// The platform's registry. Each call has the contract of the Win32 function
// it is named after (the names avoid the <windows.h> macros; the Win32
// backend calls the wide forms): status codes, in/out sizes (a buffer too
// small gives 234), null pointers for what the caller does not want.
// Every string is UTF-8: sub-key paths, value names, enumerated names and
// string data. A name or path that is no UTF-8 or holds a NUL names no key:
// lookups, opens and deletions give 2, creation 87.
// A handle returned through `result` must be closed with RegCloseKey.
class Registry {
  public:
    virtual ~Registry() = default;

    virtual long RegCreateKeyA(HKey key, const std::string& subKey, HKey& result) = 0;
    virtual long RegOpenKeyA(HKey key, const std::string& subKey, HKey& result) = 0;
    virtual long RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options,
                               std::uint32_t samDesired, HKey& result) = 0;
    // REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ data comes as the UTF-8 form of
    // the stored UTF-16, every NUL kept; `dataSize` counts its bytes, so a
    // size probe (`data` null: type and size only) followed by a read of
    // that size succeeds. Other types give their raw bytes.
    virtual long RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type,
                                  char* data, std::uint32_t* dataSize) = 0;
    virtual long RegDeleteValueA(HKey key, const std::string& valueName) = 0;
    // Deletes a key that has no subkeys; refuses one that has (5). The empty
    // subkey addresses the key `key` refers to.
    virtual long RegDeleteKeyA(HKey key, const std::string& subKey) = 0;
    // The lengths are the platform's own: name lengths in UTF-16 units
    // without the NUL, not in UTF-8 bytes; data lengths in stored bytes.
    virtual long RegQueryInfoKeyA(HKey key, std::uint32_t* subKeys, std::uint32_t* maxSubKeyLen,
                                  std::uint32_t* values, std::uint32_t* maxValueNameLen,
                                  std::uint32_t* maxValueLen) = 0;
    // `nameSize` in: capacity in bytes of UTF-8, NUL included; out: length in
    // bytes without the NUL. A name that does not fit gives 234 and nothing
    // usable, not even the size it needs.
    virtual long RegEnumKeyExA(HKey key, std::uint32_t index, char* name,
                               std::uint32_t* nameSize) = 0;
    // As RegEnumKeyExA for the name, as RegQueryValueExA for the data;
    // `type`, `data` and `dataSize` may be null.
    virtual long RegEnumValueA(HKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                               std::uint32_t* type, unsigned char* data,
                               std::uint32_t* dataSize) = 0;
    virtual long RegCloseKey(HKey key) = 0;
};

}  // namespace vw
