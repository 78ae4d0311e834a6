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

// The buffer's limit is in characters: a UTF-8 or ANSI value keeps 254 of
// them whatever its length in bytes, and comes back as UTF-8.
TEST(ReadIniTest, CutsNonAsciiValuesAt254CharactersAndGivesUtf8) {
    std::string cyrillic, cut;
    for (int i = 0; i < 300; ++i) cyrillic += "Ж";
    for (int i = 0; i < 254; ++i) cut += "Ж";
    test::SimMachine m;
    m.UseIni("\xEF\xBB\xBF[Настройки]\r\nДлинный=" + cyrillic + "\r\n");
    EXPECT_EQ(ReadIni(m.sim.profile, "настройки", "ДЛИННЫЙ", IniPath), cut);
    m.UseIni("[S]\r\nK=caf\xE9\r\n");
    EXPECT_EQ(ReadIni(m.sim.profile, "S", "K", IniPath), "café");
}

TEST(ReadIniTest, EmptyFileNameReadsEmpty) {
    test::SimMachine m;
    m.sim.files.AddFile("C:\\windows\\win.ini", "[Standard Options]\r\nIE=1\r\n");
    EXPECT_EQ(ReadIni(m.sim.profile, "Standard Options", "IE", ""), "");
}

// A reader that misbehaves: raises, or claims more than it may give.
class BrokenReader : public ProfileReader {
  public:
    std::string answer;
    std::string ReadString(const std::string&, const std::string&, const std::string&,
                           std::uint16_t) override {
        if (answer.empty()) throw RunError(errnum::kOutOfMemory, "broken");
        return answer;
    }
};

std::string Repeat(const std::string& s, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += s;
    return out;
}

TEST(ReadIniTest, NeverRaisesAndNeverGivesMoreThan254Units) {
    const struct {
        std::string answer, expected;
    } cases[] = {
        {"", ""},  // the reader raises
        {"ab" + Repeat("Ж", 400), "ab" + Repeat("Ж", 252)},
        // Bytes that are no UTF-8 count one unit each.
        {"\xFF" + std::string(300, 'x'), "\xFF" + std::string(253, 'x')},
    };
    for (const auto& c : cases) {
        BrokenReader reader;
        reader.answer = c.answer;
        EXPECT_EQ(ReadIni(reader, "S", "K", "C:\\x.ini"), c.expected);
    }
}

}  // namespace
}  // namespace vw
