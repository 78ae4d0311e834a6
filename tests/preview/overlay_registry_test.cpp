#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"
#include "preview/preview_registry.h"
#include "preview/preview_shell.h"
#include "registry/reg32.h"

namespace vw {
namespace {

using preview::ChangeLog;

const HKey kHkcu = hkey::kCurrentUser;

class OverlayRegistryTest : public ::testing::Test {
  protected:
    std::vector<std::string> Values(const std::string& path) {
        std::vector<std::string> names;
        const RegOpen open = overlay.Root(kHkcu).OpenKey(path, 0);
        if (!open.key) return names;
        for (std::uint32_t i = 0;; ++i) {
            const RegName n = open.key->ValueName(i);
            if (n.status != regstatus::kSuccess) return names;
            names.push_back(n.name);
        }
    }
    std::vector<std::string> Actions() const {
        std::vector<std::string> lines;
        for (const auto& c : log.Changes()) {
            lines.push_back(c.action + " " + c.target + (c.value ? " : " + *c.value : ""));
        }
        return lines;
    }

    sim::SimPlatform sim;
    ChangeLog log;
    preview::PreviewRegistry overlay{sim.registry, log};
    preview::PreviewUi ui{sim.ui, log};
    Platform seam{sim.profile, sim.shell, sim.process,  sim.files,
                  ui,          overlay,   sim.urlCache, sim.urlHistory};
};

// Each deleted value frees its index for the next, as on the real registry,
// so the walk by index reaches every match once.
TEST_F(OverlayRegistryTest, PrefixDeletionMovesIndexes) {
    for (const char* v : {"MRU1", "Keep", "mru2", "MRU3", "Last"}) {
        sim.registry.SetString(kHkcu, "Software\\A", v, "x");
    }
    DeleteRegValuesByPrefix(seam, kHkcu, "Software\\A", "MRU");
    EXPECT_EQ(Actions(),
              (std::vector<std::string>{"delete value HKEY_CURRENT_USER\\Software\\A : MRU1",
                                        "delete value HKEY_CURRENT_USER\\Software\\A : mru2",
                                        "delete value HKEY_CURRENT_USER\\Software\\A : MRU3"}));
    EXPECT_EQ(Values("Software\\A"), (std::vector<std::string>{"Keep", "Last"}));
    EXPECT_EQ(overlay.Root(kHkcu).OpenKey("Software\\A", 0).key->QueryInfo().info.ValueCount, 2u);
    EXPECT_EQ(sim.registry.ValueNames(kHkcu, "Software\\A").size(), 5u);
}

TEST_F(OverlayRegistryTest, TreeWhoseSubkeysVanish) {
    for (const char* k : {"T\\b\\c", "T\\b\\d", "T\\e"}) sim.registry.AddKey(kHkcu, k);
    sim.registry.SetString(kHkcu, "T\\b", "v", "x");
    EXPECT_EQ(DeleteRegKeyTree(seam, kHkcu, "T"), regstatus::kSuccess);
    EXPECT_EQ(Actions(),
              (std::vector<std::string>{
                  "delete key HKEY_CURRENT_USER\\T\\e", "delete key HKEY_CURRENT_USER\\T\\b\\d",
                  "delete key HKEY_CURRENT_USER\\T\\b\\c", "delete key HKEY_CURRENT_USER\\T\\b",
                  "delete key HKEY_CURRENT_USER\\T"}));
    EXPECT_EQ(overlay.Root(kHkcu).OpenKey("T\\b", 0).status, regstatus::kFileNotFound);
    EXPECT_TRUE(sim.registry.KeyExists(kHkcu, "T\\b\\c"));
    EXPECT_EQ(sim.registry.OpenHandles(), 0u);
}

// The typed-URL list: deleted with its values, then made again, empty.
TEST_F(OverlayRegistryTest, CreatedKeyReadsBack) {
    sim.registry.SetString(kHkcu, "S\\Typed", "url1", "a");
    sim.registry.AddKey(kHkcu, "S\\Typed\\Old");
    sim.registry.AddKey(kHkcu, "S\\Z");
    DeleteRegKeyTree(seam, kHkcu, "S\\Typed");
    CreateRegKey(seam, kHkcu, "S\\Typed");
    CreateRegKey(seam, kHkcu, "S\\New\\Deep");
    const RegOpen typed = overlay.Root(kHkcu).OpenKey("S\\TYPED", 0);
    ASSERT_TRUE(typed.key);
    EXPECT_EQ(typed.key->QueryInfo().info.SubKeyCount, 0u);
    EXPECT_EQ(typed.key->ValueName(0).status, regstatus::kNoMoreItems);
    EXPECT_EQ(typed.key->QueryValue("url1").status, regstatus::kFileNotFound);
    const RegOpen s = overlay.Root(kHkcu).OpenKey("S", 0);
    std::vector<std::string> keys;
    for (std::uint32_t i = 0; s.key->SubKeyName(i).status == regstatus::kSuccess; ++i) {
        keys.push_back(s.key->SubKeyName(i).name);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"New", "Typed", "Z"}));
    EXPECT_EQ(Actions().back(), "create key HKEY_CURRENT_USER\\S\\New\\Deep");
    EXPECT_TRUE(sim.registry.ValueExists(kHkcu, "S\\Typed", "url1"));
    EXPECT_FALSE(sim.registry.KeyExists(kHkcu, "S\\New"));
}

// A key that refuses its deletion keeps its parent; one that can be neither
// deleted nor opened brings the box, recorded and not shown.
TEST_F(OverlayRegistryTest, RefusedKeysAsTheRegistryRefusesThem) {
    sim.registry.AddKey(kHkcu, "R\\locked");
    sim.registry.RefuseDelete(kHkcu, "R\\locked");
    sim.registry.AddKey(kHkcu, "D\\denied\\child");
    sim.registry.DenyAll(kHkcu, "D\\denied");
    DeleteRegKeyTree(seam, kHkcu, "R");
    EXPECT_EQ(DeleteRegKeyTree(seam, kHkcu, "D\\denied"), regstatus::kAccessDenied);
    EXPECT_TRUE(Actions().empty());
    ASSERT_EQ(log.Boxes().size(), 1u);
    EXPECT_EQ(log.Boxes()[0].text, kAccessDeniedText);
    EXPECT_TRUE(sim.ui.boxes.empty());
    // Its own deletion is allowed once the overlay sees no subkeys.
    EXPECT_EQ(overlay.Root(kHkcu).DeleteKey("D\\denied\\child"), regstatus::kSuccess);
    EXPECT_EQ(overlay.Root(kHkcu).DeleteKey("D\\denied"), regstatus::kSuccess);
}

}  // namespace
}  // namespace vw
