#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "bench.h"
#include "platform/win32/handles.h"
#include "registry/reg32.h"

namespace vw::bench {

namespace {

constexpr char kTreePath[] = "Software\\VantrixBench\\Tree";
constexpr char kPrefixPath[] = "Software\\VantrixBench\\Prefix";
constexpr int kTreeDepth = 4;
constexpr int kValuesPerKey = 5;

bool SetString(HKEY key, const std::string& name, const std::string& text) {
    return ::RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

win32::UniqueRegKey CreateKey(HKEY parent, const std::string& path) {
    HKEY raw = nullptr;
    if (::RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw,
                          nullptr) != ERROR_SUCCESS) {
        return {};
    }
    return win32::UniqueRegKey(raw);
}

bool KeyExists(const char* path) {
    HKEY raw = nullptr;
    const bool exists =
        ::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &raw) == ERROR_SUCCESS;
    const win32::UniqueRegKey key(raw);
    return exists;
}

// Opens the current user's root once, so neither side pays for it first.
void WarmRegistry(Context&, long) {
    KeyExists("Software");
}

// ---- A tree four levels deep: n keys on the fourth level, five values on
// every key.

long FanOut(long n) {
    return std::max(1L, std::lround(std::pow(static_cast<double>(n), 1.0 / kTreeDepth)));
}

long NormalizeTree(long n) {
    const long b = FanOut(n);
    return b * b * b * b;
}

bool SeedLevel(HKEY parent, long fanOut, int level) {
    for (long i = 0; i < fanOut; ++i) {
        const win32::UniqueRegKey key = CreateKey(parent, Format("key%02ld", i));
        if (!key) return false;
        for (int v = 0; v < kValuesPerKey; ++v) {
            if (!SetString(key.get(), Format("value%d", v),
                           Format("data %d of level %d", v, level)))
                return false;
        }
        if (level < kTreeDepth && !SeedLevel(key.get(), fanOut, level + 1)) return false;
    }
    return true;
}

bool SeedTree(long n) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kTreePath);
    const win32::UniqueRegKey root = CreateKey(HKEY_CURRENT_USER, kTreePath);
    return root && SeedLevel(root.get(), FanOut(n), 1);
}

void WashTree(Context& ctx, long) {
    DeleteRegKeyTree(ctx.platform(), hkey::kCurrentUser, kTreePath);
}

void LimitTree(Context&, long) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kTreePath);
}

std::string TreeLeftover(long) {
    return KeyExists(kTreePath) ? std::string(kTreePath) + " is still there" : std::string();
}

// ---- One key of n values, every other one named with the prefix.

// The names the limit deletes, made before any timing.
std::vector<std::string> gKnownNames;

std::string PrefixValueName(long i) {
    return Format(i % 2 == 0 ? "Match_%05ld" : "Other_%05ld", i);
}

long NormalizePrefix(long n) {
    return std::max(2L, n + n % 2);
}

bool SeedPrefix(long n) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kPrefixPath);
    const win32::UniqueRegKey key = CreateKey(HKEY_CURRENT_USER, kPrefixPath);
    if (!key) return false;
    for (long i = 0; i < n; ++i) {
        if (!SetString(key.get(), PrefixValueName(i), "http://example.test/typed")) return false;
    }
    return true;
}

void PreparePrefix(Context& ctx, long n) {
    WarmRegistry(ctx, n);
    for (long i = 0; i < n; i += 2) gKnownNames.push_back(PrefixValueName(i));
}

void WashPrefix(Context& ctx, long) {
    DeleteRegValuesByPrefix(ctx.platform(), hkey::kCurrentUser, kPrefixPath, "match_");
}

void LimitPrefix(Context& ctx, long) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kPrefixPath, 0, KEY_SET_VALUE, &raw) != ERROR_SUCCESS) {
        ctx.problem = "the limit could not open the key";
        return;
    }
    const win32::UniqueRegKey key(raw);
    for (const std::string& name : gKnownNames) ::RegDeleteValueA(key.get(), name.c_str());
}

// The same job done directly: the names are not known in advance, so the
// key's values are walked and each match deleted through the walking handle.
void LimitPrefixWalk(Context& ctx, long) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\VantrixBench\\Prefix", 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, &raw) != ERROR_SUCCESS) {
        ctx.problem = "the limit could not open the key";
        return;
    }
    const win32::UniqueRegKey key(raw);
    std::vector<wchar_t> name(16384);
    for (DWORD index = 0;;) {
        DWORD size = static_cast<DWORD>(name.size());
        if (::RegEnumValueW(key.get(), index, name.data(), &size, nullptr, nullptr, nullptr,
                            nullptr) != ERROR_SUCCESS) {
            return;
        }
        const bool match =
            size >= 6 && ::CompareStringOrdinal(name.data(), 6, L"match_", 6, TRUE) == CSTR_EQUAL;
        if (!match || ::RegDeleteValueW(key.get(), name.data()) != ERROR_SUCCESS) ++index;
    }
}

std::string PrefixLeftover(long n) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kPrefixPath, 0, KEY_READ, &raw) != ERROR_SUCCESS) {
        return "the key itself is gone";
    }
    const win32::UniqueRegKey key(raw);
    DWORD values = 0;
    ::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr);
    // Only the other half may stay, and all of it.
    if (values != static_cast<DWORD>(n / 2)) {
        return Format("%lu values left, %ld expected", static_cast<unsigned long>(values), n / 2);
    }
    char name[64];
    DWORD size = sizeof name;
    if (::RegEnumValueA(key.get(), 0, name, &size, nullptr, nullptr, nullptr, nullptr) ==
            ERROR_SUCCESS &&
        std::string(name).rfind("Other_", 0) != 0) {
        return std::string("a matching value is left: ") + name;
    }
    return {};
}

}  // namespace

const Case kTreeCase = [] {
    Case c;
    c.name = "tree";
    c.defaultN = 10000;
    c.defaultReps = 5;
    c.normalize = NormalizeTree;
    c.seed = SeedTree;
    c.prepare = WarmRegistry;
    c.wash = WashTree;
    c.limit = LimitTree;
    c.leftover = TreeLeftover;
    return c;
}();

const Case kPrefixCase = [] {
    Case c;
    c.name = "prefix";
    c.defaultN = 5000;
    c.defaultReps = 7;
    c.normalize = NormalizePrefix;
    c.seed = SeedPrefix;
    c.prepare = PreparePrefix;
    c.wash = WashPrefix;
    c.limit = LimitPrefix;
    c.leftover = PrefixLeftover;
    return c;
}();

// The prefix wash against the direct walk: what no correct prefix deletion can
// skip (asking every value's name) is on both sides.
const Case kPrefixWalkCase = [] {
    Case c = kPrefixCase;
    c.name = "prefix-walk";
    c.limit = LimitPrefixWalk;
    return c;
}();

}  // namespace vw::bench
