#include "common/read_ini.h"

#include <gtest/gtest.h>

#include "platform/run_error.h"
#include "support/sim_run.h"

namespace vw {
namespace {

TEST(ReadIniTest, ReadsTrimmedUnquotedValuesAndCutsAt254) {
    test::SimMachine m;
    m.UseIni("[S]\r\nA = \"1\" \r\nLong=" + std::string(300, 'v') + "\r\n");
    EXPECT_EQ(ReadIni(m.sim.profile, "s", "a", IniPath), "1");
    EXPECT_EQ(ReadIni(m.sim.profile, "S", "Long", IniPath), std::string(254, 'v'));
    EXPECT_EQ(ReadIni(m.sim.profile, "S", "Missing", IniPath), "");
    EXPECT_EQ(ReadIni(m.sim.profile, "T", "A", IniPath), "");
    EXPECT_EQ(ReadIni(m.sim.profile, "S", "A", m.IniFile() + ".gone"), "");
}

TEST(ReadIniTest, EmptyFileNameReadsEmpty) {
    test::SimMachine m;
    m.sim.files.AddFile("C:\\windows\\win.ini", "[Standard Options]\r\nIE=1\r\n");
    EXPECT_EQ(ReadIni(m.sim.profile, "Standard Options", "IE", ""), "");
}

// A reader that misbehaves: raises, or claims more than it may copy.
class BrokenReader : public ProfileReader {
  public:
    bool raise = true;
    std::uint32_t GetPrivateProfileStringA(const std::string&, const std::string&,
                                           const std::string&, char* buffer, std::uint32_t size,
                                           const std::string&) override {
        if (raise) throw RunError(errnum::kOutOfMemory, "broken");
        buffer[0] = 'x';
        return size + 100;
    }
};

TEST(ReadIniTest, NeverRaisesAndNeverReadsPastItsBuffer) {
    BrokenReader reader;
    EXPECT_EQ(ReadIni(reader, "S", "K", "C:\\x.ini"), "");
    reader.raise = false;
    EXPECT_EQ(ReadIni(reader, "S", "K", "C:\\x.ini").size(), 254u);
}

}  // namespace
}  // namespace vw
