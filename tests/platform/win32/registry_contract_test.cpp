// <sddl.h> needs the definitions of <windows.h> before it.
// clang-format off
#include <windows.h>
#include <sddl.h>
// clang-format on

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/contract/registry_cases.h"
#include "platform/sim/sim_platform.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_registry.h"
#include "text/utf8.h"

namespace vw::win32 {
namespace {

struct LocalFreeCloser {
    void operator()(PSECURITY_DESCRIPTOR p) const noexcept { ::LocalFree(p); }
};
using UniqueLocalSd = UniqueHandle<PSECURITY_DESCRIPTOR, LocalFreeCloser>;

constexpr char kParent[] = "Software\\VantrixWashContract";

std::wstring Wide(const std::string& utf8) {
    std::wstring wide;
    EXPECT_TRUE(ToWide(utf8, wide)) << utf8;
    return wide;
}

bool IsText(std::uint32_t type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The cases run against the real registry in a key of this process's own;
// the rest of the platform is simulated, so a message box is only recorded.
// Seeding and inspection use the wide API directly, never the backend.
class Win32RegistryFixture : public contract::RegistryFixture {
  public:
    Win32RegistryFixture()
        : scratch_(std::string(kParent) + "\\" + std::to_string(::GetCurrentProcessId())) {
        // Left over by an earlier process with the same id.
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Wide(scratch_).c_str());
        AddKey(scratch_);
    }
    ~Win32RegistryFixture() override {
        // A deny-all key would stop the cleanup; its rights come back first.
        for (auto& d : denied_) {
            ::RegSetKeySecurity(d.key.get(), DACL_SECURITY_INFORMATION, d.original.data());
        }
        denied_.clear();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Wide(scratch_).c_str());
        // Refused while another process's key is still there.
        ::RegDeleteKeyW(HKEY_CURRENT_USER, Wide(kParent).c_str());
    }
    Win32RegistryFixture(const Win32RegistryFixture&) = delete;
    Win32RegistryFixture& operator=(const Win32RegistryFixture&) = delete;

    Platform& platform() override { return platform_; }
    const std::vector<sim::SimMessageBox>& boxes() const override { return sim_.ui.boxes; }
    const std::string& scratch() const override { return scratch_; }

    void AddKey(const std::string& path) override { Open(path, KEY_ALL_ACCESS, true); }
    void SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                  const std::string& data) override {
        const UniqueRegKey key = Open(path, KEY_ALL_ACCESS, true);
        // Text is stored as the platform stores it, in UTF-16.
        std::u16string units;
        std::string bytes = data;
        if (IsText(type)) {
            ASSERT_TRUE(Utf8ToUtf16(data, units)) << name;
            bytes.assign(reinterpret_cast<const char*>(units.data()), units.size() * 2);
        }
        EXPECT_EQ(::RegSetValueExW(key.get(), Wide(name).c_str(), 0, type,
                                   reinterpret_cast<const BYTE*>(bytes.data()),
                                   static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS)
            << path << " " << name;
    }
    void DenyAll(const std::string& path) override {
        Denied d{Open(path, READ_CONTROL | WRITE_DAC, false), {}};
        DWORD size = 0;
        ::RegGetKeySecurity(d.key.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
        d.original.resize(size);
        UniqueLocalSd denyAll;
        ASSERT_EQ(
            ::RegGetKeySecurity(d.key.get(), DACL_SECURITY_INFORMATION, d.original.data(), &size),
            ERROR_SUCCESS);
        ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA(
            "D:P(D;;KA;;;WD)", SDDL_REVISION_1, denyAll.put(), nullptr));
        ASSERT_EQ(::RegSetKeySecurity(d.key.get(), DACL_SECURITY_INFORMATION, denyAll.get()),
                  ERROR_SUCCESS);
        // The handle keeps the right to put the old list back.
        denied_.push_back(std::move(d));
    }

    bool KeyExists(const std::string& path) override {
        UniqueRegKey key;
        return Walk(path, MAXIMUM_ALLOWED, false, key) != ERROR_FILE_NOT_FOUND;
    }
    bool ValueExists(const std::string& path, const std::string& name) override {
        UniqueRegKey key;
        return Walk(path, KEY_QUERY_VALUE, false, key) == ERROR_SUCCESS &&
               ::RegQueryValueExW(key.get(), Wide(name).c_str(), nullptr, nullptr, nullptr,
                                  nullptr) == ERROR_SUCCESS;
    }
    std::optional<std::size_t> OpenHandles() const override { return std::nullopt; }

  private:
    struct Denied {
        UniqueRegKey key;
        std::vector<unsigned char> original;
    };

    // One name at a time, so seeding never depends on how long a full path
    // the platform takes (Wine's ANSI forms stop at 260 characters).
    static LSTATUS Walk(const std::string& path, REGSAM access, bool create, UniqueRegKey& key) {
        HKEY at = HKEY_CURRENT_USER;
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = std::min(path.find('\\', start), path.size());
            const std::wstring name = Wide(path.substr(start, end - start));
            const REGSAM want = end == path.size() ? access : MAXIMUM_ALLOWED;
            UniqueRegKey next;
            const LSTATUS status = create ? ::RegCreateKeyExW(at, name.c_str(), 0, nullptr, 0, want,
                                                              nullptr, next.put(), nullptr)
                                          : ::RegOpenKeyExW(at, name.c_str(), 0, want, next.put());
            if (status != ERROR_SUCCESS) return status;
            key = std::move(next);
            at = key.get();
            if (end == path.size()) return ERROR_SUCCESS;
            start = end + 1;
        }
    }
    static UniqueRegKey Open(const std::string& path, REGSAM access, bool create) {
        UniqueRegKey key;
        EXPECT_EQ(Walk(path, access, create, key), ERROR_SUCCESS) << path;
        return key;
    }

    sim::SimPlatform sim_;
    Win32Registry registry_;
    Platform platform_{sim_.profile, sim_.shell, sim_.process,  sim_.files,
                       sim_.ui,      registry_,  sim_.urlCache, sim_.urlHistory};
    std::string scratch_;
    std::vector<Denied> denied_;
};

// The host suite runs the same cases against the simulation.
class Win32RegistryContract : public ::testing::TestWithParam<contract::RegistryCase> {};

TEST_P(Win32RegistryContract, BehavesLikeThePlatform) {
    Win32RegistryFixture f;
    contract::RunRegistryCase(GetParam(), f);
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32RegistryContract,
                         ::testing::ValuesIn(contract::RegistryCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vw::win32
