#include <gtest/gtest.h>

#include "support/sim_run.h"
#include "wash/frm_wash.h"
#include "washers/guards/temp_guard.h"

namespace vw {
namespace {

const std::string kTemp = "C:\\Users\\sim\\Temp";

class TempFilesTest : public ::testing::Test {
  protected:
    TempFilesTest() {
        m.sim.files.tempPath = kTemp + "\\";
        m.sim.files.AddFolder(kTemp);
        m.sim.files.AddFile("C:\\Users\\sim\\canary.txt");  // beside the Temp folder
    }
    bool Exists(const std::string& relative) { return m.sim.files.Exists(kTemp + relative); }

    test::SimMachine m;
};

TEST_F(TempFilesTest, EmptiesTheTempFolderOfWhatMayGo) {
    auto& fs = m.sim.files;
    fs.AddFile(kTemp + "\\a.tmp");
    fs.AddFile(kTemp + "\\b.tmp", "", attr::kReadOnly);
    fs.AddFile(kTemp + "\\c.tmp", "", attr::kHidden);
    fs.AddFile(kTemp + "\\d.tmp");
    fs.HoldOpen(kTemp + "\\d.tmp");
    fs.AddFile(kTemp + "\\e.tmp");  // listed after the one in use
    fs.AddFile(kTemp + "\\sys.tmp", "", attr::kSystem);
    fs.AddFile(kTemp + "\\nest\\deeper\\f.tmp", "", attr::kReadOnly);
    fs.AddFolder(kTemp + "\\hidden", attr::kDirectory | attr::kHidden);
    fs.AddFile(kTemp + "\\hidden\\g.tmp");
    fs.AddFile("C:\\Elsewhere\\keep.txt");
    fs.AddLink(kTemp + "\\link", "C:\\Elsewhere");

    frmWash(m.sim.platform()).WashTempFiles();
    for (const char* gone : {"\\a.tmp", "\\b.tmp", "\\c.tmp", "\\e.tmp", "\\nest", "\\link"}) {
        EXPECT_FALSE(Exists(gone)) << gone;
    }
    for (const char* kept : {"", "\\d.tmp", "\\sys.tmp", "\\hidden\\g.tmp"}) {
        EXPECT_TRUE(Exists(kept)) << kept;
    }
    EXPECT_TRUE(fs.Exists("C:\\Elsewhere\\keep.txt")) << "a link was followed";
    EXPECT_TRUE(fs.Exists("C:\\Users\\sim\\canary.txt"));
}

TEST_F(TempFilesTest, TempPathsThatAreNoTempFolderDeleteNothing) {
    auto& fs = m.sim.files;
    fs.AddFile("C:\\root.txt");
    fs.AddFile("C:\\WINDOWS\\win.ini");
    fs.AddFile("C:\\Users\\sim\\NTUSER.DAT");
    fs.AddFile("C:\\Users\\other.txt");
    fs.AddFile("C:\\WINDOWS\\Temp\\current.tmp");  // "Temp\" from the current folder
    const std::string longPath = "C:\\" + std::string(260, 'x') + "\\";
    for (const std::string& temp :
         {std::string(), std::string("C:\\"), std::string("c:\\\\"), std::string("C:\\WINDOWS\\"),
          std::string("c:\\windows"), std::string("C:\\Users\\sim\\"), std::string("C:\\Users\\"),
          std::string("Temp\\"), std::string("C:\\WINDOWS\\TEMP\\..\\"), longPath}) {
        fs.tempPath = temp;
        frmWash(m.sim.platform()).WashTempFiles();
    }
    for (const char* kept :
         {"C:\\root.txt", "C:\\WINDOWS\\win.ini", "C:\\Users\\sim\\NTUSER.DAT",
          "C:\\Users\\other.txt", "C:\\Users\\sim\\canary.txt", "C:\\WINDOWS\\Temp\\current.tmp"}) {
        EXPECT_TRUE(fs.Exists(kept)) << kept;
    }
}

TEST(TempDirIsWashableTest, OnlyAFolderBelowARootAndBesideTheSystemsOwn) {
    const struct {
        const char* dir;
        bool washable;
    } cases[] = {
        {"C:\\WINDOWS\\TEMP\\", true},
        {"C:\\WINDOWS2\\", true},  // beside the Windows folder, not in it
        {"C:\\T\\x..\\", true},    // dots inside a name
        {"\\\\srv\\share\\tmp\\", true},
        {"", false},
        {"Temp\\", false},
        {"\\Temp\\", false},
        {"C:Temp\\", false},
        {"C:\\", false},
        {"c:\\\\", false},
        {"\\\\srv\\share\\", false},
        {"c:\\windows", false},
        {"C:\\\\WINDOWS\\", false},  // a doubled separator names the same folder
        {"C:\\Users\\", false},      // above the profile
        {"C:\\USERS\\SIM\\", false},
        {"C:\\WINDOWS\\TEMP\\..\\..\\", false},
        {"C:\\T\\. .\\", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TempDirIsWashable(c.dir, "C:\\WINDOWS", "C:\\Users\\sim"), c.washable) << c.dir;
    }
}

// The path is read through a buffer of 255 UTF-16 units, its NUL included.
TEST_F(TempFilesTest, TempPathsThatDoNotFitTheBufferReadAsEmpty) {
    auto repeat = [](const std::string& unit, int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += unit;
        return s;
    };
    const struct {
        std::string name;  // between "C:\" and "\"
        bool fits;
    } cases[] = {
        {repeat("x", 250), true},                 // 254 units
        {repeat("x", 251), false},                // 255
        {repeat("\xD0\xB6", 250), true},          // Cyrillic: 500 bytes, 254 units
        {repeat("\xF0\x9F\x98\x80", 125), true},  // beyond the BMP: 125 characters, 254 units
        {repeat("\xF0\x9F\x98\x80", 125) + "x", false},
    };
    for (const auto& c : cases) {
        m.sim.files.tempPath = "C:\\" + c.name + "\\";
        EXPECT_EQ(frmWash(m.sim.platform()).GetTempDir(), c.fits ? m.sim.files.tempPath : "")
            << c.name.size() << " bytes";
    }
}

}  // namespace
}  // namespace vw
