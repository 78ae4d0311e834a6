#include "platform/contract/registry_cases.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "registry/open_reg_key.h"
#include "registry/reg32.h"
#include "text/name_case.h"

namespace vw::contract {

namespace {

using namespace std::string_literals;

constexpr HKey kHkcu = hkey::kCurrentUser;
constexpr long kKeyDeleted = 1018;  // a call on a handle whose key is gone

// Names beyond any ANSI code page; the last one is a surrogate pair.
const std::string kCyrillic = "Папка";
const std::string kGreek = "Ελληνικά";
const std::string kCjk = "日本語";
const std::string kEmoji = "😀";

std::string Repeat(const std::string& s, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += s;
    return out;
}

void DeleteKeyStatuses(RegistryFixture& f) {
    Registry& reg = f.platform().registry;
    const std::string s = f.scratch();
    f.SetValue(s + "\\Parent\\Leaf", "v", regtype::kSz, "x\0"s);
    EXPECT_EQ(reg.RegDeleteKeyA(kHkcu, s + "\\Missing"), regstatus::kFileNotFound);
    EXPECT_EQ(reg.RegDeleteKeyA(kHkcu, s + "\\Parent"), regstatus::kAccessDenied);
    EXPECT_TRUE(f.KeyExists(s + "\\Parent\\Leaf"));
    // A leaf goes with its values.
    EXPECT_EQ(reg.RegDeleteKeyA(kHkcu, s + "\\Parent\\Leaf"), regstatus::kSuccess);
    EXPECT_FALSE(f.KeyExists(s + "\\Parent\\Leaf"));
    EXPECT_TRUE(f.KeyExists(s + "\\Parent"));
    // A root is never deleted: HKEY_CURRENT_USER always has subkeys.
    EXPECT_EQ(reg.RegDeleteKeyA(kHkcu, ""), regstatus::kAccessDenied);
}

// The layer deletes a key it emptied through its own handle, which it
// opened without the delete right.
void DeleteOwnKeyThroughHandle(RegistryFixture& f) {
    Registry& reg = f.platform().registry;
    const std::string path = f.scratch() + "\\Own";
    f.AddKey(path);
    HKey key = 0;
    ASSERT_EQ(reg.RegOpenKeyExA(kHkcu, path, 0, kKeyAllSpecificRights, key), regstatus::kSuccess);
    EXPECT_EQ(reg.RegDeleteKeyA(key, ""), regstatus::kSuccess);
    EXPECT_FALSE(f.KeyExists(path));
    std::uint32_t size = 0;
    EXPECT_EQ(reg.RegQueryValueExA(key, "v", nullptr, nullptr, &size), kKeyDeleted);
    EXPECT_EQ(reg.RegCloseKey(key), regstatus::kSuccess);
}

void OpenKeyStatuses(RegistryFixture& f) {
    Registry& reg = f.platform().registry;
    const std::string s = f.scratch();
    f.AddKey(s + "\\Open");
    HKey key = 1;
    EXPECT_EQ(reg.RegOpenKeyExA(kHkcu, s + "\\Missing", 0, kKeyAllSpecificRights, key),
              regstatus::kFileNotFound);
    EXPECT_EQ(key, 0);
    // Unlike RegOpenKeyExA, RegOpenKeyA answers an empty path with the
    // caller's own handle, which must then not be closed twice.
    OpenRegKey open(reg, kHkcu);
    ASSERT_EQ(reg.RegOpenKeyExA(kHkcu, s + "\\Open", 0, kKeyAllSpecificRights, open.put()),
              regstatus::kSuccess);
    EXPECT_EQ(reg.RegOpenKeyA(open.get(), "", key), regstatus::kSuccess);
    EXPECT_EQ(key, open.get());
    EXPECT_EQ(reg.RegOpenKeyA(kHkcu, "", key), regstatus::kSuccess);
    EXPECT_EQ(key, kHkcu);
}

void DenyAllStatuses(RegistryFixture& f) {
    Registry& reg = f.platform().registry;
    const std::string s = f.scratch();
    f.AddKey(s + "\\DeniedLeaf");
    f.AddKey(s + "\\DeniedParent\\Child");
    f.DenyAll(s + "\\DeniedLeaf");
    f.DenyAll(s + "\\DeniedParent");
    HKey key = 1;
    EXPECT_EQ(reg.RegOpenKeyExA(kHkcu, s + "\\DeniedLeaf", 0, kKeyAllSpecificRights, key),
              regstatus::kAccessDenied);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(reg.RegDeleteKeyA(kHkcu, s + "\\DeniedParent"), regstatus::kAccessDenied);
    EXPECT_TRUE(f.KeyExists(s + "\\DeniedParent"));
    EXPECT_EQ(reg.RegDeleteKeyA(kHkcu, s + "\\DeniedLeaf"), regstatus::kSuccess);
    EXPECT_FALSE(f.KeyExists(s + "\\DeniedLeaf"));
}

void QueryValueStatuses(RegistryFixture& f) {
    Registry& reg = f.platform().registry;
    f.SetValue(f.scratch(), "S", regtype::kSz, "abc\0"s);
    OpenRegKey key(reg, kHkcu);
    ASSERT_EQ(reg.RegOpenKeyExA(kHkcu, f.scratch(), 0, kKeyAllSpecificRights, key.put()),
              regstatus::kSuccess);
    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(reg.RegQueryValueExA(key.get(), "S", &type, nullptr, &size), regstatus::kSuccess);
    EXPECT_EQ(type, regtype::kSz);
    EXPECT_EQ(size, 4u);
    // The NUL needs room too; the answer then says how much.
    char buffer[8] = {};
    size = 3;
    EXPECT_EQ(reg.RegQueryValueExA(key.get(), "S", nullptr, buffer, &size), regstatus::kMoreData);
    EXPECT_EQ(size, 4u);
    size = 4;
    EXPECT_EQ(reg.RegQueryValueExA(key.get(), "S", nullptr, buffer, &size), regstatus::kSuccess);
    EXPECT_EQ(std::string(buffer, size), "abc\0"s);
    EXPECT_EQ(reg.RegQueryValueExA(key.get(), "Missing", &type, nullptr, &size),
              regstatus::kFileNotFound);
}

void EnumKeyStatuses(RegistryFixture& f) {
    Registry& reg = f.platform().registry;
    f.AddKey(f.scratch() + "\\abc");
    OpenRegKey key(reg, kHkcu);
    ASSERT_EQ(reg.RegOpenKeyExA(kHkcu, f.scratch(), 0, kKeyAllSpecificRights, key.put()),
              regstatus::kSuccess);
    std::uint32_t subKeys = 0;
    EXPECT_EQ(reg.RegQueryInfoKeyA(key.get(), &subKeys, nullptr, nullptr, nullptr, nullptr),
              regstatus::kSuccess);
    EXPECT_EQ(subKeys, 1u);
    char name[8] = {};
    // A short buffer leaves the size as given: it does not tell what is needed.
    std::uint32_t size = 3;
    EXPECT_EQ(reg.RegEnumKeyExA(key.get(), 0, name, &size), regstatus::kMoreData);
    EXPECT_EQ(size, 3u);
    size = 4;
    EXPECT_EQ(reg.RegEnumKeyExA(key.get(), 0, name, &size), regstatus::kSuccess);
    EXPECT_EQ(size, 3u);
    EXPECT_STREQ(name, "abc");
    size = sizeof name;
    EXPECT_EQ(reg.RegEnumKeyExA(key.get(), 1, name, &size), regstatus::kNoMoreItems);
}

void EnumValueStatuses(RegistryFixture& f) {
    Registry& reg = f.platform().registry;
    f.SetValue(f.scratch(), "big", regtype::kBinary, std::string(5000, 'b'));
    OpenRegKey key(reg, kHkcu);
    ASSERT_EQ(reg.RegOpenKeyExA(kHkcu, f.scratch(), 0, kKeyAllSpecificRights, key.put()),
              regstatus::kSuccess);
    char name[8] = {};
    std::uint32_t size = 2;
    EXPECT_EQ(reg.RegEnumValueA(key.get(), 0, name, &size, nullptr, nullptr, nullptr),
              regstatus::kMoreData);
    EXPECT_EQ(size, 2u);
    // Without a data buffer no value is too large.
    size = sizeof name;
    EXPECT_EQ(reg.RegEnumValueA(key.get(), 0, name, &size, nullptr, nullptr, nullptr),
              regstatus::kSuccess);
    EXPECT_STREQ(name, "big");
    std::uint32_t type = 0, dataSize = 0;
    size = sizeof name;
    EXPECT_EQ(reg.RegEnumValueA(key.get(), 0, name, &size, &type, nullptr, &dataSize),
              regstatus::kSuccess);
    EXPECT_EQ(type, regtype::kBinary);
    EXPECT_EQ(dataSize, 5000u);
    size = sizeof name;
    EXPECT_EQ(reg.RegEnumValueA(key.get(), 1, name, &size, nullptr, nullptr, nullptr),
              regstatus::kNoMoreItems);
}

// Text comes as UTF-8, every NUL kept, sized in its own bytes; other types
// come as stored, whatever their bytes look like.
void DataInUtf8(RegistryFixture& f) {
    Registry& reg = f.platform().registry;
    const std::map<std::string, std::pair<std::uint32_t, std::string>> values = {
        {"Sz", {regtype::kSz, "Пётр 日本語 😀\0"s}},
        {"Expand", {regtype::kExpandSz, "%TEMP%\\Ελληνικά\0"s}},
        {"Multi", {regtype::kMultiSz, "α\0日本\0\0"s}},
        {"Binary", {regtype::kBinary, "\xFF\xFE\0\xD8\x3D"s}},
    };
    for (const auto& [name, v] : values) f.SetValue(f.scratch(), name, v.first, v.second);
    OpenRegKey key(reg, kHkcu);
    ASSERT_EQ(reg.RegOpenKeyExA(kHkcu, f.scratch(), 0, kKeyAllSpecificRights, key.put()),
              regstatus::kSuccess);
    for (const auto& [name, v] : values) {
        SCOPED_TRACE(name);
        const auto size = static_cast<std::uint32_t>(v.second.size());
        std::uint32_t type = 0, probed = 0;
        EXPECT_EQ(reg.RegQueryValueExA(key.get(), name, &type, nullptr, &probed),
                  regstatus::kSuccess);
        EXPECT_EQ(type, v.first);
        EXPECT_EQ(probed, size);
        std::string buffer(size + 8, '#');
        std::uint32_t got = size - 1;
        EXPECT_EQ(reg.RegQueryValueExA(key.get(), name, nullptr, buffer.data(), &got),
                  regstatus::kMoreData);
        EXPECT_EQ(got, size);
        got = probed;
        EXPECT_EQ(reg.RegQueryValueExA(key.get(), name, nullptr, buffer.data(), &got),
                  regstatus::kSuccess);
        EXPECT_EQ(buffer.substr(0, got), v.second);
    }
    // Enumeration gives the same data; values come in no fixed order.
    std::map<std::string, std::string> listed;
    for (std::uint32_t i = 0;; ++i) {
        char name[16];
        std::string data(64, '#');
        std::uint32_t nameSize = sizeof name, type = 0;
        auto dataSize = static_cast<std::uint32_t>(data.size());
        const long status =
            reg.RegEnumValueA(key.get(), i, name, &nameSize, &type,
                              reinterpret_cast<unsigned char*>(data.data()), &dataSize);
        if (status != regstatus::kSuccess) {
            EXPECT_EQ(status, regstatus::kNoMoreItems);
            break;
        }
        listed[name] = data.substr(0, dataSize);
        nameSize = sizeof name;
        dataSize -= 1;
        EXPECT_EQ(reg.RegEnumValueA(key.get(), i, name, &nameSize, &type,
                                    reinterpret_cast<unsigned char*>(data.data()), &dataSize),
                  regstatus::kMoreData)
            << name;
    }
    ASSERT_EQ(listed.size(), values.size());
    for (const auto& [name, v] : values) EXPECT_EQ(listed[name], v.second) << name;
}

// Capacities and lengths of enumerated names are UTF-8 bytes; the key's
// information keeps the platform's units.
void EnumNamesInBytes(RegistryFixture& f) {
    Registry& reg = f.platform().registry;
    f.AddKey(f.scratch() + "\\" + kCjk + kEmoji);
    f.SetValue(f.scratch(), kGreek, regtype::kDword, "\1\0\0\0"s);
    OpenRegKey key(reg, kHkcu);
    ASSERT_EQ(reg.RegOpenKeyExA(kHkcu, f.scratch(), 0, kKeyAllSpecificRights, key.put()),
              regstatus::kSuccess);
    std::uint32_t maxSubKeyLen = 0, maxValueNameLen = 0;
    EXPECT_EQ(
        reg.RegQueryInfoKeyA(key.get(), nullptr, &maxSubKeyLen, nullptr, &maxValueNameLen, nullptr),
        regstatus::kSuccess);
    EXPECT_EQ(maxSubKeyLen, 5u);
    EXPECT_EQ(maxValueNameLen, 8u);

    char name[32] = {};
    std::uint32_t size = 13;  // 9 + 4 bytes, no room for the NUL
    EXPECT_EQ(reg.RegEnumKeyExA(key.get(), 0, name, &size), regstatus::kMoreData);
    EXPECT_EQ(size, 13u);
    size = 14;
    EXPECT_EQ(reg.RegEnumKeyExA(key.get(), 0, name, &size), regstatus::kSuccess);
    EXPECT_EQ(size, 13u);
    EXPECT_EQ(name, kCjk + kEmoji);

    size = 16;
    EXPECT_EQ(reg.RegEnumValueA(key.get(), 0, name, &size, nullptr, nullptr, nullptr),
              regstatus::kMoreData);
    EXPECT_EQ(size, 16u);
    size = 17;
    EXPECT_EQ(reg.RegEnumValueA(key.get(), 0, name, &size, nullptr, nullptr, nullptr),
              regstatus::kSuccess);
    EXPECT_EQ(size, 16u);
    EXPECT_EQ(name, kGreek);
}

// A name that is no UTF-8, or that a NUL would cut short, names nothing:
// above all not the key or value its first bytes spell.
void MalformedNamesReachNothing(RegistryFixture& f) {
    Registry& reg = f.platform().registry;
    const std::string s = f.scratch();
    f.SetValue(s + "\\a", "a", regtype::kSz, "x\0"s);
    const std::string malformed[] = {
        "a\0b"s, "a\xFF",
        "a\xC0\x80",                  // an overlong NUL
        "a\xED\xA0\xBD\xED\xB8\x80",  // a surrogate pair spelled as two
    };
    OpenRegKey open(reg, kHkcu);
    ASSERT_EQ(reg.RegOpenKeyExA(kHkcu, s + "\\a", 0, kKeyAllSpecificRights, open.put()),
              regstatus::kSuccess);
    for (const std::string& bad : malformed) {
        SCOPED_TRACE(testing::PrintToString(bad));
        const std::string path = s + "\\" + bad;
        HKey key = 1;
        EXPECT_EQ(reg.RegOpenKeyExA(kHkcu, path, 0, kKeyAllSpecificRights, key),
                  regstatus::kFileNotFound);
        EXPECT_EQ(key, 0);
        key = 1;
        EXPECT_EQ(reg.RegOpenKeyA(kHkcu, path, key), regstatus::kFileNotFound);
        EXPECT_EQ(key, 0);
        key = 1;
        EXPECT_EQ(reg.RegCreateKeyA(kHkcu, path + "\\new", key), 87);
        EXPECT_EQ(key, 0);
        EXPECT_EQ(reg.RegDeleteKeyA(kHkcu, path), regstatus::kFileNotFound);
        EXPECT_EQ(DeleteRegKeyTree(f.platform(), kHkcu, path), regstatus::kFileNotFound);
        std::uint32_t size = 0;
        EXPECT_EQ(reg.RegQueryValueExA(open.get(), bad, nullptr, nullptr, &size),
                  regstatus::kFileNotFound);
        EXPECT_EQ(reg.RegDeleteValueA(open.get(), bad), regstatus::kFileNotFound);
        DeleteRegValue(f.platform(), kHkcu, s + "\\a", bad);
    }
    EXPECT_TRUE(f.ValueExists(s + "\\a", "a"));
    EXPECT_FALSE(f.KeyExists(s + "\\a\\new"));
    EXPECT_TRUE(f.boxes().empty());
}

// A failed open leaves 0 behind, and the layer goes on with it.
void NullHandleStatuses(RegistryFixture& f) {
    Registry& reg = f.platform().registry;
    HKey key = 0;
    char name[8];
    std::uint32_t size = sizeof name, count = 0;
    EXPECT_EQ(reg.RegOpenKeyExA(0, "x", 0, kKeyAllSpecificRights, key), regstatus::kInvalidHandle);
    EXPECT_EQ(reg.RegOpenKeyA(0, "x", key), regstatus::kInvalidHandle);
    EXPECT_EQ(reg.RegCreateKeyA(0, "x", key), regstatus::kInvalidHandle);
    EXPECT_EQ(reg.RegQueryValueExA(0, "x", nullptr, nullptr, &size), regstatus::kInvalidHandle);
    EXPECT_EQ(reg.RegDeleteValueA(0, "x"), regstatus::kInvalidHandle);
    EXPECT_EQ(reg.RegDeleteKeyA(0, "x"), regstatus::kInvalidHandle);
    EXPECT_EQ(reg.RegQueryInfoKeyA(0, &count, nullptr, nullptr, nullptr, nullptr),
              regstatus::kInvalidHandle);
    EXPECT_EQ(reg.RegEnumKeyExA(0, 0, name, &size), regstatus::kInvalidHandle);
    EXPECT_EQ(reg.RegEnumValueA(0, 0, name, &size, nullptr, nullptr, nullptr),
              regstatus::kInvalidHandle);
    EXPECT_EQ(reg.RegCloseKey(0), regstatus::kInvalidHandle);
}

// In every script, as Windows folds case.
void NamesIgnoreCase(RegistryFixture& f) {
    Registry& reg = f.platform().registry;
    const struct {
        std::string key, lowerKey, value, otherValue;
    } names[] = {
        {"MixedCase", "mixedcase", "Name", "nAME"},
        {kCyrillic + "\\" + kGreek, "папка\\ελληνικά", "Ωμέγα", "ωΜΈΓΑ"},
    };
    for (const auto& n : names) {
        const std::string path = f.scratch() + "\\" + n.key;
        f.SetValue(path, n.value, regtype::kSz, "x\0"s);
        {
            OpenRegKey key(reg, kHkcu);
            ASSERT_EQ(
                reg.RegOpenKeyExA(kHkcu, UpcaseName(path), 0, kKeyAllSpecificRights, key.put()),
                regstatus::kSuccess);
            std::uint32_t size = 0;
            EXPECT_EQ(reg.RegQueryValueExA(key.get(), n.otherValue, nullptr, nullptr, &size),
                      regstatus::kSuccess);
            EXPECT_EQ(reg.RegDeleteValueA(key.get(), UpcaseName(n.value)), regstatus::kSuccess);
        }
        EXPECT_FALSE(f.ValueExists(path, n.value));
        EXPECT_EQ(reg.RegDeleteKeyA(kHkcu, f.scratch() + "\\" + n.lowerKey), regstatus::kSuccess);
        EXPECT_FALSE(f.KeyExists(path));
    }
}

void ReadStrings(RegistryFixture& f) {
    const struct {
        const char* name;
        std::uint32_t type;
        std::string data;
        const char* expected;
    } values[] = {
        {"Sz", regtype::kSz, "abc\0"s, "abc"},
        {"EmptySz", regtype::kSz, "\0"s, ""},
        {"NoBytesSz", regtype::kSz, "", ""},
        {"NulInside", regtype::kSz, "ab\0cd\0"s, "ab"},
        {"ExpandSz", regtype::kExpandSz, "%TEMP%\0"s, ""},
        {"Dword", regtype::kDword, "\x01\0\0\0"s, ""},
        {"Путь", regtype::kSz, "C:\\Users\\Пётр\\日本語\\😀\0"s, "C:\\Users\\Пётр\\日本語\\😀"},
    };
    const std::string path = f.scratch() + "\\Strings";
    for (const auto& v : values) f.SetValue(path, v.name, v.type, v.data);
    for (const auto& v : values) {
        EXPECT_EQ(GetRegString(f.platform(), kHkcu, path, v.name), v.expected) << v.name;
    }
    EXPECT_EQ(GetRegString(f.platform(), kHkcu, path, "Missing"), "");
    EXPECT_EQ(GetRegString(f.platform(), kHkcu, path + "\\Missing", "Sz"), "");
}

void DeleteTree(RegistryFixture& f) {
    const std::string s = f.scratch();
    f.SetValue(s + "\\Tree", "v0", regtype::kSz, "0\0"s);
    f.SetValue(s + "\\Tree\\A", "v1", regtype::kDword, "\1\0\0\0"s);
    f.SetValue(s + "\\Tree\\A\\B", "v2", regtype::kBinary, "22");
    f.SetValue(s + "\\Tree\\A\\B\\C", "v3", regtype::kSz, "3\0"s);
    f.AddKey(s + "\\Tree\\A\\B2");
    f.AddKey(s + "\\Tree\\A2");
    f.SetValue(s + "\\Canary", "keep", regtype::kSz, "1\0"s);
    EXPECT_EQ(DeleteRegKeyTree(f.platform(), kHkcu, s + "\\Tree"), regstatus::kSuccess);
    EXPECT_FALSE(f.KeyExists(s + "\\Tree"));
    EXPECT_TRUE(f.ValueExists(s + "\\Canary", "keep"));
    EXPECT_TRUE(f.boxes().empty());
}

void DeleteMissingTree(RegistryFixture& f) {
    EXPECT_EQ(DeleteRegKeyTree(f.platform(), kHkcu, f.scratch() + "\\Missing"),
              regstatus::kFileNotFound);
    EXPECT_TRUE(f.boxes().empty());
}

void DeleteDeniedTree(RegistryFixture& f) {
    const std::string s = f.scratch();
    f.AddKey(s + "\\Locked\\Child");
    f.AddKey(s + "\\Canary");
    f.DenyAll(s + "\\Locked");
    EXPECT_EQ(DeleteRegKeyTree(f.platform(), kHkcu, s + "\\Locked"), regstatus::kAccessDenied);
    ASSERT_EQ(f.boxes().size(), 1u);
    EXPECT_EQ(f.boxes()[0].text, "Access denied to delete registry key.");
    EXPECT_EQ(f.boxes()[0].caption, "Access Denied");
    EXPECT_EQ(f.boxes()[0].type, mb::kOk | mb::kIconStop);
    EXPECT_TRUE(f.KeyExists(s + "\\Locked\\Child"));
    EXPECT_TRUE(f.KeyExists(s + "\\Canary"));
}

// The walk works relative to its handles, so it never depends on how long a
// full path the platform takes. In UTF-8 the longest names take three times
// their length in bytes.
void DeleteTreeWithLongName(RegistryFixture& f) {
    const std::string s = f.scratch();
    const std::string longKey = s + "\\Long\\" + std::string(255, 'k');
    f.SetValue(longKey, "v", regtype::kSz, "x\0"s);
    f.AddKey(longKey + "\\Child");
    f.AddKey(s + "\\Long\\" + Repeat(kCjk, 85) + "\\" + Repeat(kEmoji, 127));
    EXPECT_EQ(DeleteRegKeyTree(f.platform(), kHkcu, s + "\\Long"), regstatus::kSuccess);
    EXPECT_FALSE(f.KeyExists(s + "\\Long"));
    EXPECT_TRUE(f.KeyExists(s));
}

void DeleteValuesByPrefix(RegistryFixture& f) {
    const std::string path = f.scratch() + "\\Values";
    const std::string longName = "url_" + std::string(296, 'n');
    // More bytes than the registry has units for a name.
    const std::string wideName = "url_" + Repeat("日", 6000);
    const std::vector<std::string> matching = {"URL_1", "Url_2", "url_big", longName, wideName};
    f.SetValue(path, "URL_1", regtype::kSz, "a\0"s);
    f.SetValue(path, "MRU", regtype::kSz, "b\0"s);
    f.SetValue(path, "Url_2", regtype::kSz, "c\0"s);
    f.SetValue(path, "url_big", regtype::kBinary, std::string(5000, 'd'));
    f.SetValue(path, longName, regtype::kSz, "e\0"s);
    f.SetValue(path, wideName, regtype::kSz, "f\0"s);
    DeleteRegValuesByPrefix(f.platform(), kHkcu, path, "url_");
    for (const auto& name : matching) EXPECT_FALSE(f.ValueExists(path, name)) << name.size();
    EXPECT_TRUE(f.ValueExists(path, "MRU"));
}

void DeleteTreeInScripts(RegistryFixture& f) {
    const std::string s = f.scratch();
    const std::string tree = s + "\\" + kCyrillic;
    f.SetValue(tree, kCyrillic, regtype::kSz, "Пётр\0"s);
    f.SetValue(tree + "\\" + kGreek + "\\" + kCjk + "\\" + kEmoji, kGreek, regtype::kDword,
               "\1\0\0\0"s);
    f.AddKey(tree + "\\" + kGreek + "\\" + kEmoji + kEmoji);
    f.AddKey(tree + "\\" + kCjk + kEmoji);
    // The same names elsewhere, and a near one beside the tree.
    const std::string canaries[] = {s + "\\Папки", s + "\\" + kGreek, s + "\\" + kCjk,
                                    s + "\\" + kEmoji};
    for (const auto& c : canaries) f.SetValue(c, kCyrillic, regtype::kSz, "keep\0"s);
    EXPECT_EQ(DeleteRegKeyTree(f.platform(), kHkcu, tree), regstatus::kSuccess);
    EXPECT_FALSE(f.KeyExists(tree));
    for (const auto& c : canaries) EXPECT_TRUE(f.ValueExists(c, kCyrillic)) << c;
    EXPECT_TRUE(f.boxes().empty());
}

void DeleteValuesByPrefixInScripts(RegistryFixture& f) {
    const std::string path = f.scratch() + "\\Values";
    const struct {
        const char* prefix;
        std::vector<std::string> gone;
    } runs[] = {
        {"адрес_", {"Адрес_1", "АДРЕС_2", "адрес_😀"}},
        {"ΕΛΛ", {kGreek, "ελλ"}},
        {"日本", {kCjk, "日本"}},
        {"😀", {kEmoji, "😀x"}},
    };
    // Each differs from a prefix by one letter or one unit.
    const std::string canaries[] = {"Адре", "Адрис_1", "URL_адрес_", "Ελ", "日", "本日本", "😁"};
    for (const auto& r : runs) {
        for (const auto& name : r.gone) f.SetValue(path, name, regtype::kSz, "x\0"s);
    }
    for (const auto& name : canaries) f.SetValue(path, name, regtype::kSz, "x\0"s);
    for (const auto& r : runs) {
        DeleteRegValuesByPrefix(f.platform(), kHkcu, path, r.prefix);
        for (const auto& name : r.gone) EXPECT_FALSE(f.ValueExists(path, name)) << name;
    }
    for (const auto& name : canaries) EXPECT_TRUE(f.ValueExists(path, name)) << name;
}

}  // namespace

const std::vector<RegistryCase>& RegistryStatusCases() {
    static const std::vector<RegistryCase> cases = {
        {"RegDeleteKeyA: missing 2, with a subkey 5, leaf 0, root 5", DeleteKeyStatuses},
        {"RegDeleteKeyA on a handle's own key", DeleteOwnKeyThroughHandle},
        {"RegOpenKeyExA missing 2; RegOpenKeyA empty path", OpenKeyStatuses},
        {"deny-all key: open 5, delete leaf 0, delete parent 5", DenyAllStatuses},
        {"RegQueryValueExA sizes", QueryValueStatuses},
        {"RegEnumKeyExA buffer and end", EnumKeyStatuses},
        {"RegEnumValueA buffer, end and large data", EnumValueStatuses},
        {"handle 0 gives 6", NullHandleStatuses},
        {"names in any script ignore case", NamesIgnoreCase},
        {"string data in UTF-8, sized in bytes", DataInUtf8},
        {"enumerated names sized in UTF-8 bytes", EnumNamesInBytes},
        {"malformed names reach no key", MalformedNamesReachNothing},
    };
    return cases;
}

const std::vector<RegistryCase>& RegistryLayerCases() {
    static const std::vector<RegistryCase> cases = {
        {"GetRegString by type", ReadStrings},
        {"DeleteRegKeyTree three levels deep", DeleteTree},
        {"DeleteRegKeyTree missing key", DeleteMissingTree},
        {"DeleteRegKeyTree deny-all key with a subkey", DeleteDeniedTree},
        {"DeleteRegKeyTree 255-character name", DeleteTreeWithLongName},
        {"DeleteRegValuesByPrefix", DeleteValuesByPrefix},
        {"DeleteRegKeyTree names in any script", DeleteTreeInScripts},
        {"DeleteRegValuesByPrefix names in any script", DeleteValuesByPrefixInScripts},
    };
    return cases;
}

void RunRegistryCase(const RegistryCase& c, RegistryFixture& f) {
    SCOPED_TRACE(c.name);
    c.run(f);
    if (const auto open = f.OpenHandles()) {
        EXPECT_EQ(*open, 0u);
    }
}

}  // namespace vw::contract
