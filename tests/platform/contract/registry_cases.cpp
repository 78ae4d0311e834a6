#include "platform/contract/registry_cases.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <utility>

#include "registry/reg32.h"
#include "text/name_case.h"

namespace vw::contract {

namespace {

using namespace std::string_literals;

constexpr HKey kHkcu = hkey::kCurrentUser;

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

RegKey& Hkcu(RegistryFixture& f) {
    return f.platform().registry.Root(kHkcu);
}

// An open that must succeed; null (with a failure) if it does not.
std::unique_ptr<RegKey> Open(RegistryFixture& f, const std::string& path,
                             std::uint32_t rights = kKeyAllSpecificRights) {
    RegOpen open = Hkcu(f).OpenKey(path, rights);
    EXPECT_EQ(open.status, regstatus::kSuccess) << path;
    return std::move(open.key);
}

// A failed open hands out no key.
void ExpectRefused(const RegOpen& open, long status) {
    EXPECT_EQ(open.status, status);
    EXPECT_EQ(open.key, nullptr);
}

// What every call on `key` answers, when all answer alike.
void ExpectEveryCallAnswers(RegKey& key, long status) {
    ExpectRefused(key.OpenKey("", 0), status);
    ExpectRefused(key.OpenKey("x", kKeyAllSpecificRights), status);
    ExpectRefused(key.CreateKey("x"), status);
    const RegRead read = key.QueryValue("v");
    EXPECT_EQ(read.status, status);
    EXPECT_EQ(read.type, regtype::kNone);
    EXPECT_EQ(read.data, "");
    EXPECT_EQ(key.DeleteValue("v"), status);
    EXPECT_EQ(key.DeleteKey("x"), status);
    EXPECT_EQ(key.DeleteKey(""), status);
    EXPECT_EQ(key.QueryInfo().status, status);
    EXPECT_EQ(key.SubKeyName(0).status, status);
    EXPECT_EQ(key.ValueName(0).status, status);
}

void DeleteKeyStatuses(RegistryFixture& f) {
    const std::string s = f.scratch();
    f.SetValue(s + "\\Parent\\Leaf", "v", regtype::kSz, "x\0"s);
    EXPECT_EQ(Hkcu(f).DeleteKey(s + "\\Missing"), regstatus::kFileNotFound);
    EXPECT_EQ(Hkcu(f).DeleteKey(s + "\\Parent"), regstatus::kAccessDenied);
    EXPECT_TRUE(f.KeyExists(s + "\\Parent\\Leaf"));
    // A leaf goes with its values.
    EXPECT_EQ(Hkcu(f).DeleteKey(s + "\\Parent\\Leaf"), regstatus::kSuccess);
    EXPECT_FALSE(f.KeyExists(s + "\\Parent\\Leaf"));
    EXPECT_TRUE(f.KeyExists(s + "\\Parent"));
    // A root is never deleted: HKEY_CURRENT_USER always has subkeys.
    EXPECT_EQ(Hkcu(f).DeleteKey(""), regstatus::kAccessDenied);
}

// The layer deletes a key it emptied through its own key object, opened
// without the delete right. Objects still open on a deleted key answer 1018.
void DeletedKeyAnswers1018(RegistryFixture& f) {
    const std::string path = f.scratch() + "\\Own";
    f.SetValue(path, "v", regtype::kSz, "x\0"s);
    const auto own = Open(f, path);
    const auto other = Open(f, path, 0);
    ASSERT_TRUE(own && other);
    EXPECT_EQ(own->DeleteKey(""), regstatus::kSuccess);
    EXPECT_FALSE(f.KeyExists(path));
    ExpectEveryCallAnswers(*own, regstatus::kKeyDeleted);
    ExpectEveryCallAnswers(*other, regstatus::kKeyDeleted);
}

void OpenKeyStatuses(RegistryFixture& f) {
    const std::string s = f.scratch();
    f.SetValue(s + "\\Open", "v", regtype::kSz, "x\0"s);
    ExpectRefused(Hkcu(f).OpenKey(s + "\\Missing", kKeyAllSpecificRights),
                  regstatus::kFileNotFound);
    ExpectRefused(Hkcu(f).OpenKey(s + "\\Missing", 0), regstatus::kFileNotFound);
    // The empty path opens the same key again, as an object of its own.
    const auto key = Open(f, s + "\\Open", 0);
    ASSERT_TRUE(key);
    for (const std::uint32_t rights : {0u, kKeyAllSpecificRights}) {
        RegOpen again = key->OpenKey("", rights);
        ASSERT_EQ(again.status, regstatus::kSuccess) << rights;
        ASSERT_NE(again.key, nullptr);
        EXPECT_EQ(again.key->QueryValue("v").data, "x\0"s);
    }
    EXPECT_EQ(key->QueryValue("v").data, "x\0"s);
    RegOpen root = Hkcu(f).OpenKey("", 0);
    ASSERT_EQ(root.status, regstatus::kSuccess);
    ASSERT_NE(root.key, nullptr);
    EXPECT_GE(root.key->QueryInfo().info.SubKeyCount, 1u);
}

void CreateKeyStatuses(RegistryFixture& f) {
    const std::string s = f.scratch();
    f.SetValue(s + "\\Old", "keep", regtype::kSz, "1\0"s);
    f.AddKey(s + "\\Old\\Child");
    {
        // Every missing key on the path is made; the new one is empty.
        RegOpen made = Hkcu(f).CreateKey(s + "\\New\\Deep");
        ASSERT_EQ(made.status, regstatus::kSuccess);
        ASSERT_NE(made.key, nullptr);
        EXPECT_EQ(made.key->QueryInfo().status, regstatus::kSuccess);
        EXPECT_EQ(made.key->SubKeyName(0).status, regstatus::kNoMoreItems);
        EXPECT_EQ(made.key->ValueName(0).status, regstatus::kNoMoreItems);
        RegOpen old = Hkcu(f).CreateKey(s + "\\Old");
        ASSERT_EQ(old.status, regstatus::kSuccess);
        ASSERT_NE(old.key, nullptr);
        EXPECT_EQ(old.key->QueryValue("keep").data, "1\0"s);
        // The empty path: the same key again, as an object of its own.
        EXPECT_EQ(old.key->CreateKey("").status, regstatus::kSuccess);
        EXPECT_EQ(old.key->QueryValue("keep").data, "1\0"s);
    }
    EXPECT_TRUE(f.KeyExists(s + "\\New\\Deep"));
    CreateRegKey(f.platform(), kHkcu, s + "\\Old");
    EXPECT_TRUE(f.ValueExists(s + "\\Old", "keep"));
    EXPECT_TRUE(f.KeyExists(s + "\\Old\\Child"));
    CreateRegKey(f.platform(), kHkcu, s + "\\Layer\\Made");
    EXPECT_TRUE(f.KeyExists(s + "\\Layer\\Made"));
}

void DenyAllStatuses(RegistryFixture& f) {
    const std::string s = f.scratch();
    const std::string leaf = s + "\\DeniedLeaf";
    f.SetValue(leaf, "v", regtype::kSz, "x\0"s);
    f.AddKey(s + "\\DeniedParent\\Child");
    f.DenyAll(leaf);
    f.DenyAll(s + "\\DeniedParent");
    ExpectRefused(Hkcu(f).OpenKey(leaf, kKeyAllSpecificRights), regstatus::kAccessDenied);
    {
        // The default rights open it, with no right on the key itself.
        const auto key = Open(f, leaf, 0);
        ASSERT_TRUE(key);
        EXPECT_EQ(key->QueryValue("v").status, regstatus::kAccessDenied);
        EXPECT_EQ(key->DeleteValue("v"), regstatus::kAccessDenied);
        EXPECT_EQ(key->SubKeyName(0).status, regstatus::kAccessDenied);
        EXPECT_EQ(key->ValueName(0).status, regstatus::kAccessDenied);
        ExpectRefused(key->OpenKey("", kKeyAllSpecificRights), regstatus::kAccessDenied);
        EXPECT_EQ(key->QueryInfo().status, regstatus::kSuccess);
    }
    // What lies below it is no business of its own rights.
    EXPECT_EQ(Hkcu(f).CreateKey(leaf + "\\Made").status, regstatus::kSuccess);
    EXPECT_EQ(Hkcu(f).DeleteKey(leaf + "\\Made"), regstatus::kSuccess);
    EXPECT_EQ(GetRegString(f.platform(), kHkcu, leaf, "v"), "");
    EXPECT_EQ(Hkcu(f).DeleteKey(s + "\\DeniedParent"), regstatus::kAccessDenied);
    EXPECT_TRUE(f.KeyExists(s + "\\DeniedParent"));
    EXPECT_EQ(Hkcu(f).DeleteKey(leaf), regstatus::kSuccess);
    EXPECT_FALSE(f.KeyExists(leaf));
}

// A key object has the rights it was opened with: reading and listing values
// need the query right, deleting them the set right, listing subkeys the
// enumerate right. Keys below it and its counts need none.
void CallsNeedTheRightsOfTheOpen(RegistryFixture& f) {
    const std::string s = f.scratch();
    f.SetValue(s, "v", regtype::kSz, "x\0"s);
    f.AddKey(s + "\\Sub");
    constexpr long ok = regstatus::kSuccess, no = regstatus::kAccessDenied;
    const struct {
        std::uint32_t rights;
        long query, set, enumerate;
    } opens[] = {{0x1, ok, no, no}, {0x2, no, ok, no}, {0x8, no, no, ok}, {0x3F, ok, ok, ok}};
    for (const auto& o : opens) {
        SCOPED_TRACE(o.rights);
        const auto key = Open(f, s, o.rights);
        ASSERT_TRUE(key);
        EXPECT_EQ(key->QueryValue("v").status, o.query);
        EXPECT_EQ(key->ValueName(0).status, o.query);
        EXPECT_EQ(key->DeleteValue("Missing"), o.set == ok ? regstatus::kFileNotFound : no);
        EXPECT_EQ(key->SubKeyName(0).status, o.enumerate);
        EXPECT_EQ(key->QueryInfo().status, ok);
        EXPECT_EQ(key->OpenKey("Sub", 0).status, ok);
        EXPECT_EQ(key->CreateKey("New").status, ok);
        EXPECT_EQ(key->DeleteKey("New"), ok);
    }
    EXPECT_TRUE(f.ValueExists(s, "v"));
}

void QueryValueStatuses(RegistryFixture& f) {
    f.SetValue(f.scratch(), "S", regtype::kSz, "abc\0"s);
    const auto key = Open(f, f.scratch());
    ASSERT_TRUE(key);
    const RegRead read = key->QueryValue("S");
    EXPECT_EQ(read.status, regstatus::kSuccess);
    EXPECT_EQ(read.type, regtype::kSz);
    EXPECT_EQ(read.data, "abc\0"s);
    const RegRead missing = key->QueryValue("Missing");
    EXPECT_EQ(missing.status, regstatus::kFileNotFound);
    EXPECT_EQ(missing.type, regtype::kNone);
    EXPECT_EQ(missing.data, "");
}

void EnumKeyStatuses(RegistryFixture& f) {
    f.AddKey(f.scratch() + "\\abc");
    const auto key = Open(f, f.scratch());
    ASSERT_TRUE(key);
    const RegInfo info = key->QueryInfo();
    EXPECT_EQ(info.status, regstatus::kSuccess);
    EXPECT_EQ(info.info.SubKeyCount, 1u);
    EXPECT_EQ(info.info.ValueCount, 0u);
    const RegName first = key->SubKeyName(0);
    EXPECT_EQ(first.status, regstatus::kSuccess);
    EXPECT_EQ(first.name, "abc");
    EXPECT_EQ(key->SubKeyName(1).status, regstatus::kNoMoreItems);
}

// No value is too large to be listed or read whole.
void EnumValueStatuses(RegistryFixture& f) {
    f.SetValue(f.scratch(), "big", regtype::kBinary, std::string(5000, 'b'));
    const auto key = Open(f, f.scratch());
    ASSERT_TRUE(key);
    const RegName first = key->ValueName(0);
    EXPECT_EQ(first.status, regstatus::kSuccess);
    EXPECT_EQ(first.name, "big");
    EXPECT_EQ(key->ValueName(1).status, regstatus::kNoMoreItems);
    const RegInfo info = key->QueryInfo();
    EXPECT_EQ(info.info.ValueCount, 1u);
    EXPECT_EQ(info.info.MaxValueLen, 5000u);
    EXPECT_EQ(key->QueryValue("big").data, std::string(5000, 'b'));
}

// Text comes as UTF-8, every NUL kept; other types come as stored,
// whatever their bytes look like.
void DataInUtf8(RegistryFixture& f) {
    const std::map<std::string, std::pair<std::uint32_t, std::string>> values = {
        {"Sz", {regtype::kSz, "Пётр 日本語 😀\0"s}},
        {"Expand", {regtype::kExpandSz, "%TEMP%\\Ελληνικά\0"s}},
        {"Multi", {regtype::kMultiSz, "α\0日本\0\0"s}},
        {"Binary", {regtype::kBinary, "\xFF\xFE\0\xD8\x3D"s}},
    };
    for (const auto& [name, v] : values) f.SetValue(f.scratch(), name, v.first, v.second);
    const auto key = Open(f, f.scratch());
    ASSERT_TRUE(key);
    for (const auto& [name, v] : values) {
        const RegRead read = key->QueryValue(name);
        EXPECT_EQ(read.status, regstatus::kSuccess) << name;
        EXPECT_EQ(read.type, v.first) << name;
        EXPECT_EQ(read.data, v.second) << name;
    }
    // Values come in no fixed order.
    std::set<std::string> listed;
    for (std::uint32_t i = 0;; ++i) {
        const RegName name = key->ValueName(i);
        if (name.status != regstatus::kSuccess) {
            EXPECT_EQ(name.status, regstatus::kNoMoreItems);
            break;
        }
        listed.insert(name.name);
    }
    EXPECT_EQ(listed, (std::set<std::string>{"Binary", "Expand", "Multi", "Sz"}));
}

// Names come whole in UTF-8; the key's information keeps the platform's
// units.
void NamesInUtf8LengthsInUnits(RegistryFixture& f) {
    f.AddKey(f.scratch() + "\\" + kCjk + kEmoji);
    f.SetValue(f.scratch(), kGreek, regtype::kDword, "\1\0\0\0"s);
    const auto key = Open(f, f.scratch());
    ASSERT_TRUE(key);
    const RegInfo info = key->QueryInfo();
    EXPECT_EQ(info.status, regstatus::kSuccess);
    EXPECT_EQ(info.info.MaxSubKeyLen, 5u);
    EXPECT_EQ(info.info.MaxValueNameLen, 8u);
    EXPECT_EQ(info.info.MaxValueLen, 4u);
    EXPECT_EQ(key->SubKeyName(0).name, kCjk + kEmoji);
    EXPECT_EQ(key->ValueName(0).name, kGreek);
}

// A name that is no UTF-8, or that a NUL would cut short, names nothing:
// above all not the key or value its first bytes spell.
void MalformedNamesReachNothing(RegistryFixture& f) {
    const std::string s = f.scratch();
    f.SetValue(s + "\\a", "a", regtype::kSz, "x\0"s);
    const std::string malformed[] = {
        "a\0b"s, "a\xFF",
        "a\xC0\x80",                  // an overlong NUL
        "a\xED\xA0\xBD\xED\xB8\x80",  // a surrogate pair spelled as two
    };
    const auto open = Open(f, s + "\\a");
    ASSERT_TRUE(open);
    for (const std::string& bad : malformed) {
        SCOPED_TRACE(testing::PrintToString(bad));
        const std::string path = s + "\\" + bad;
        ExpectRefused(Hkcu(f).OpenKey(path, kKeyAllSpecificRights), regstatus::kFileNotFound);
        ExpectRefused(Hkcu(f).OpenKey(path, 0), regstatus::kFileNotFound);
        ExpectRefused(open->OpenKey(bad, 0), regstatus::kFileNotFound);
        ExpectRefused(Hkcu(f).CreateKey(path + "\\new"), regstatus::kInvalidParameter);
        EXPECT_EQ(Hkcu(f).DeleteKey(path), regstatus::kFileNotFound);
        EXPECT_EQ(DeleteRegKeyTree(f.platform(), kHkcu, path), regstatus::kFileNotFound);
        EXPECT_EQ(open->QueryValue(bad).status, regstatus::kFileNotFound);
        EXPECT_EQ(open->DeleteValue(bad), regstatus::kFileNotFound);
        DeleteRegValue(f.platform(), kHkcu, s + "\\a", bad);
    }
    EXPECT_TRUE(f.ValueExists(s + "\\a", "a"));
    EXPECT_FALSE(f.KeyExists(s + "\\a\\new"));
    EXPECT_TRUE(f.boxes().empty());
}

// Only the five roots are keys; the layer goes on with anything else and
// reaches nothing.
void OtherRootsAnswer6(RegistryFixture& f) {
    for (const HKey root : {HKey{0}, HKey{1}, hkey::kPerformanceData + 1}) {
        SCOPED_TRACE(root);
        ExpectEveryCallAnswers(f.platform().registry.Root(root), regstatus::kInvalidHandle);
        EXPECT_EQ(GetRegString(f.platform(), root, "x", "v"), "");
        EXPECT_EQ(DeleteRegKeyTree(f.platform(), root, "x"), regstatus::kInvalidHandle);
    }
}

// In every script, as Windows folds case.
void NamesIgnoreCase(RegistryFixture& f) {
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
            const auto key = Open(f, UpcaseName(path));
            ASSERT_TRUE(key);
            EXPECT_EQ(key->QueryValue(n.otherValue).status, regstatus::kSuccess);
            EXPECT_EQ(key->DeleteValue(UpcaseName(n.value)), regstatus::kSuccess);
        }
        EXPECT_FALSE(f.ValueExists(path, n.value));
        EXPECT_EQ(Hkcu(f).DeleteKey(f.scratch() + "\\" + n.lowerKey), regstatus::kSuccess);
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

const std::vector<RegistryCase>& RegistryCases() {
    static const std::vector<RegistryCase> cases = {
        {"DeleteKeyMissing2WithSubkey5Leaf0Root5", DeleteKeyStatuses},
        {"DeletedKeyAnswers1018", DeletedKeyAnswers1018},
        {"OpenKeyMissing2EmptyPathOpensAgain", OpenKeyStatuses},
        {"CreateKeyMakesThePathKeepsWhatExists", CreateKeyStatuses},
        {"DenyAllOpen5DeleteLeaf0DeleteParent5", DenyAllStatuses},
        {"CallsNeedTheRightsOfTheOpen", CallsNeedTheRightsOfTheOpen},
        {"QueryValueTypeAndData", QueryValueStatuses},
        {"SubKeyNamesAndEnd", EnumKeyStatuses},
        {"ValueNamesEndAndLargeData", EnumValueStatuses},
        {"OtherRootsAnswer6", OtherRootsAnswer6},
        {"NamesInAnyScriptIgnoreCase", NamesIgnoreCase},
        {"StringDataInUtf8", DataInUtf8},
        {"NamesInUtf8LengthsInUnits", NamesInUtf8LengthsInUnits},
        {"MalformedNamesReachNoKey", MalformedNamesReachNothing},
        {"GetRegStringByType", ReadStrings},
        {"DeleteRegKeyTreeThreeLevels", DeleteTree},
        {"DeleteRegKeyTreeMissingKey", DeleteMissingTree},
        {"DeleteRegKeyTreeDenyAllWithSubkey", DeleteDeniedTree},
        {"DeleteRegKeyTreeLongNames", DeleteTreeWithLongName},
        {"DeleteRegValuesByPrefix", DeleteValuesByPrefix},
        {"DeleteRegKeyTreeNamesInAnyScript", DeleteTreeInScripts},
        {"DeleteRegValuesByPrefixNamesInAnyScript", DeleteValuesByPrefixInScripts},
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
