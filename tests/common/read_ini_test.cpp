#include "common/read_ini.h"

#include <gtest/gtest.h>

#include "platform/run_error.h"
#include "support/sim_run.h"

namespace vw {
namespace {

std::string Repeat(const std::string& s, int times) {
    std::string out;
    while (times-- > 0) out += s;
    return out;
}

// The buffer's limit is in characters, whatever the bytes; values come back
// as UTF-8, from a UTF-8 file with its mark or an ANSI one.
TEST(ReadIniTest, ReadsTrimmedUnquotedValuesCutAt254Characters) {
    const struct {
        std::string ini, section, key, expected;
    } cases[] = {
        {"[S]\r\nA = \"1\" \r\n", "s", "a", "1"},
        {"[S]\r\nA=1\r\n", "S", "Missing", ""},
        {"[S]\r\nA=1\r\n", "T", "A", ""},
        {"[S]\r\nLong=" + Repeat("v", 300) + "\r\n", "S", "Long", Repeat("v", 254)},
        {"\xEF\xBB\xBF[Настройки]\r\nДлинный=" + Repeat("Ж", 300) + "\r\n", "настройки", "ДЛИННЫЙ",
         Repeat("Ж", 254)},
        {"[S]\r\nK=caf\xE9\r\n", "S", "K", "café"},
    };
    for (const auto& c : cases) {
        test::SimMachine m;
        m.UseIni(c.ini);
        EXPECT_EQ(ReadIni(m.sim.profile, c.section, c.key, IniPath), c.expected) << c.ini;
        EXPECT_EQ(ReadIni(m.sim.profile, c.section, c.key, IniPath + ".gone"), "");
    }
}

// A reader that raises, or claims more than it may give.
TEST(ReadIniTest, NeverRaisesAndNeverGivesMoreThan254Units) {
    struct BrokenReader : ProfileReader {
        std::string answer;
        std::string ReadString(const std::string&, const std::string&, const std::string&,
                               std::uint16_t) override {
            if (answer.empty()) throw RunError(errnum::kOutOfMemory, "broken");
            return answer;
        }
    };
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"ab" + Repeat("Ж", 400), "ab" + Repeat("Ж", 252)},
        // Bytes that are no UTF-8 count one unit each.
        {"\xFF" + std::string(300, 'x'), "\xFF" + std::string(253, 'x')},
    };
    for (const auto& [answer, expected] : cases) {
        BrokenReader reader;
        reader.answer = answer;
        EXPECT_EQ(ReadIni(reader, "S", "K", "C:\\x.ini"), expected);
    }
}

}  // namespace
}  // namespace vw
