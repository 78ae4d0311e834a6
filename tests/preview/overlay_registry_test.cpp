#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"
#include "preview/preview_registry.h"
#include "preview/preview_shell.h"
#include "registry/reg32.h"

namespace vw {
namespace {

const HKey kHkcu = hkey::kCurrentUser;

class OverlayRegistryTest : public ::testing::Test {
  protected:
    // The names a key lists by index through the overlay, values or subkeys.
    std::vector<std::string> Names(const std::string& path, bool values) {
        std::vector<std::string> names;
        const RegOpen open = overlay.Root(kHkcu).OpenKey(path, 0);
        for (std::uint32_t i = 0; open.key; ++i) {
            const RegName n = values ? open.key->ValueName(i) : open.key->SubKeyName(i);
            if (n.status != regstatus::kSuccess) break;
            names.push_back(n.name);
        }
        return names;
    }
    std::vector<std::string> Targets() const {
        std::vector<std::string> lines;
        for (const auto& c : log.Changes())
            lines.push_back(c.target + (c.value ? ":" + *c.value : ""));
        return lines;
    }

    sim::SimPlatform sim;
    preview::ChangeLog log;
    preview::PreviewRegistry overlay{sim.registry, log};
    preview::PreviewUi ui{sim.ui, log};
    Platform seam{sim.profile, sim.shell, sim.process,  sim.files,
                  ui,          overlay,   sim.urlCache, sim.urlHistory};
};

// Each deleted value frees its index for the next, as on the real registry,
// so the walk by index reaches every match once.
TEST_F(OverlayRegistryTest, PrefixDeletionMovesIndexes) {
    for (const char* v : {"MRU1", "Keep", "mru2", "MRU3", "Last"}) {
        sim.registry.SetString(kHkcu, "A", v, "x");
    }
    DeleteRegValuesByPrefix(seam, kHkcu, "A", "MRU");
    const std::string a = "HKEY_CURRENT_USER\\A:";
    EXPECT_EQ(Targets(), (std::vector<std::string>{a + "MRU1", a + "mru2", a + "MRU3"}));
    EXPECT_EQ(Names("A", true), (std::vector<std::string>{"Keep", "Last"}));
    EXPECT_EQ(overlay.Root(kHkcu).OpenKey("A", 0).key->QueryInfo().info.ValueCount, 2u);
    EXPECT_EQ(sim.registry.ValueNames(kHkcu, "A").size(), 5u);
}

// A tree goes deepest first; made again, the key reads back empty, listed
// in its sorted place beside keys made below its parent.
TEST_F(OverlayRegistryTest, TreeThatVanishesThenCreatedKeysReadBack) {
    for (const char* k : {"S\\T\\b\\c", "S\\T\\e", "S\\Z"}) sim.registry.AddKey(kHkcu, k);
    sim.registry.SetString(kHkcu, "S\\T", "v", "x");
    EXPECT_EQ(DeleteRegKeyTree(seam, kHkcu, "S\\T"), regstatus::kSuccess);
    const std::string t = "HKEY_CURRENT_USER\\S\\T";
    EXPECT_EQ(Targets(), (std::vector<std::string>{t + "\\e", t + "\\b\\c", t + "\\b", t}));
    EXPECT_EQ(overlay.Root(kHkcu).OpenKey("S\\T\\b", 0).status, regstatus::kFileNotFound);

    CreateRegKey(seam, kHkcu, "S\\T");
    CreateRegKey(seam, kHkcu, "S\\New\\Deep");
    const RegOpen made = overlay.Root(kHkcu).OpenKey("s\\t", 0);
    ASSERT_TRUE(made.key);
    EXPECT_EQ(made.key->QueryInfo().info.SubKeyCount, 0u);
    EXPECT_EQ(made.key->QueryValue("v").status, regstatus::kFileNotFound);
    EXPECT_EQ(Names("S", false), (std::vector<std::string>{"New", "T", "Z"}));
    EXPECT_EQ(Names("S\\New", false), std::vector<std::string>{"Deep"});
    EXPECT_EQ(Targets().back(), "HKEY_CURRENT_USER\\S\\New\\Deep");
    EXPECT_TRUE(sim.registry.KeyExists(kHkcu, "S\\T\\b\\c"));
    EXPECT_FALSE(sim.registry.KeyExists(kHkcu, "S\\New"));
    EXPECT_EQ(sim.registry.OpenHandles(), 0u) << "a key made here holds no real one";
}

}  // namespace
}  // namespace vw
