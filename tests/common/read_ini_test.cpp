#include "common/read_ini.h"

#include <gtest/gtest.h>

#include "platform/profile.h"
#include "platform/run_error.h"

namespace vw {
namespace {

std::string Repeat(const std::string& s, int times) {
    std::string out;
    while (times-- > 0) out += s;
    return out;
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
