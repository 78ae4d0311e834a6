#include <gtest/gtest.h>

#include <sstream>

#include "text/name_case.h"
#include "text/utf8.h"
#include "text/wildcard.h"

namespace vw {
namespace {

const char* const kTables[] = {
#include "text/cases.txt"
};

// Hex digits, two a byte or four a unit.
template <typename Char>
std::basic_string<Char> Hex(const std::string& hex) {
    std::basic_string<Char> out;
    for (std::size_t i = 0; i + 2 * sizeof(Char) <= hex.size(); i += 2 * sizeof(Char))
        out += static_cast<Char>(std::stoi(hex.substr(i, 2 * sizeof(Char)), nullptr, 16));
    return out;
}

// Case folding to every range's edges; UTF-8 read strictly, every unit
// coming back; wildcards matched without regard to case.
TEST(TextTest, EveryTableHolds) {
    std::istringstream folds(kTables[0]), utf8(kTables[1]), wildcards(kTables[2]);
    for (std::string p; folds >> p;)
        EXPECT_EQ(UpcaseUnit(static_cast<char16_t>(std::stoi(p, nullptr, 16))),
                  std::stoi(p.substr(p.find('=') + 1), nullptr, 16))
            << p;
    std::u16string out;  // reused: each conversion starts afresh
    for (std::string p; utf8 >> p;) {
        const std::string bytes = Hex<char>(p.substr(0, p.find('='))),
                          units = p.substr(p.find('=') + 1);
        EXPECT_EQ(Utf8ToUtf16(bytes, out), units != "-") << p;
        EXPECT_TRUE(units == "-" || (out == Hex<char16_t>(units) && Utf16ToUtf8(out) == bytes))
            << p;
    }
    for (std::string c; wildcards >> c;) {
        const auto bar = c.find('|'), eq = c.rfind('=');
        EXPECT_EQ(WildcardMatch(c.substr(0, bar), c.substr(bar + 1, eq - bar - 1)),
                  c[eq + 1] == '1')
            << c.substr(0, 40);
    }
    EXPECT_EQ(UpcaseName("ελληνικά \xF0\x9F\x98\x80x"), "ΕΛΛΗΝΙΚΆ \xF0\x9F\x98\x80X");
    EXPECT_EQ(UpcaseName("a\xFF"), "A\xFF");       // not UTF-8: ASCII letters still match
    EXPECT_FALSE(WildcardMatch("\xFF*", "\xFF"));  // no UTF-8: no name
    EXPECT_FALSE(Utf8ToUtf16(std::string_view("a\xD0\xB6", 2), out));  // cut, whatever follows
    EXPECT_EQ(Latin1ToUtf8("caf\xE9\x7F\x80"), "caf\xC3\xA9\x7F\xC2\x80");
    EXPECT_TRUE(HasUtf8Bom("\xEF\xBB\xBF") && !HasUtf8Bom("\xEF\xBB") &&
                !HasUtf8Bom("x\xEF\xBB\xBF"));
    EXPECT_TRUE(IsPlatformName("Ж") && !IsPlatformName({"a\0b", 3}) && !IsPlatformName("\xFF"));
}

}  // namespace
}  // namespace vw
