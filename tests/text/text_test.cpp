#include <gtest/gtest.h>

#include <sstream>

#include "text/name_case.h"
#include "text/utf8.h"
#include "text/wildcard.h"

namespace vw {
namespace {

// unit=capital in hex: the first and last letter of every range the table
// folds, and the units just outside it (Latin, Greek, Cyrillic, Armenian,
// full-width; CJK and a surrogate stand for themselves).
const char kFolding[] =
    "60=60 61=41 7a=5a 7b=7b df=df e0=c0 f6=d6 f7=f7 f8=d8 fe=de ff=178 100=100 101=100 137=136 "
    "138=138 139=139 13a=139 148=147 149=149 14a=14a 14b=14a 177=176 178=178 179=179 17a=179 "
    "17e=17d 17f=17f 3ab=3ab 3ac=386 3ad=388 3af=38a 3b0=3b0 3b1=391 3c1=3a1 3c2=3a3 3c3=3a3 "
    "3cb=3ab 3cc=38c 3cd=38e 3ce=38f 3cf=3cf 42f=42f 430=410 44f=42f 450=400 45f=40f 460=460 "
    "461=460 481=480 482=482 489=489 48a=48a 48b=48a 4bf=4be 4c0=4c0 4c1=4c1 4c2=4c1 4ce=4cd "
    "4cf=4cf 4d0=4d0 4d1=4d0 52f=52e 530=530 560=560 561=531 586=556 587=587 ff40=ff40 "
    "ff41=ff21 ff5a=ff3a ff5b=ff5b 65e5=65e5 d83d=d83d";

// bytes=units in hex, "-" for bytes that are refused: truncated, overlong,
// past U+10FFFF, a bad continuation, a pair spelled as two surrogates.
const char kUtf8[] =
    "= 7f=007f c280=0080 dfbf=07ff e0a080=0800 efbfbf=ffff f0908080=d800dc00 f48fbfbf=dbffdfff "
    "eda080=d800 edbfbf=dfff edb080eda080=dc00d800 61eda08062=0061d8000062 ff=- 80=- c0af=- "
    "c1bf=- c2=- c328=- c3c3=- e080af=- e09fbf=- e697=- e6c0a5=- e69728=- f08fbfbf=- "
    "f4908080=- f5808080=- f09f98=- eda0bdedb880=- edafbfedb080=-";

// Hex digits, two a byte or four a unit.
template <typename Char>
std::basic_string<Char> Hex(const std::string& hex) {
    std::basic_string<Char> out;
    for (std::size_t i = 0; i + 2 * sizeof(Char) <= hex.size(); i += 2 * sizeof(Char))
        out += static_cast<Char>(std::stoi(hex.substr(i, 2 * sizeof(Char)), nullptr, 16));
    return out;
}

TEST(TextTest, CaseFoldsEveryRangeToItsEdges) {
    std::istringstream pairs(kFolding);
    for (std::string p; pairs >> p;) {
        const auto upper = std::stoi(p.substr(p.find('=') + 1), nullptr, 16);
        EXPECT_EQ(UpcaseUnit(static_cast<char16_t>(std::stoi(p, nullptr, 16))), upper) << p;
    }
    EXPECT_EQ(UpcaseName("ελληνικά \xF0\x9F\x98\x80x"), "ΕΛΛΗΝΙΚΆ \xF0\x9F\x98\x80X");
    EXPECT_EQ(UpcaseName("a\xFF"), "A\xFF");  // not UTF-8: ASCII letters still match
}

TEST(TextTest, Utf8IsReadStrictlyAndEveryUnitComesBack) {
    std::istringstream pairs(kUtf8);
    for (std::string p; pairs >> p;) {
        const std::string bytes = Hex<char>(p.substr(0, p.find('='))),
                          units = p.substr(p.find('=') + 1);
        std::u16string out;
        ASSERT_EQ(Utf8ToUtf16(bytes, out), units != "-") << p;
        EXPECT_TRUE(units == "-" || (out == Hex<char16_t>(units) && Utf16ToUtf8(out) == bytes))
            << p;
    }
    EXPECT_EQ(Latin1ToUtf8("caf\xE9\x7F\x80"), "caf\xC3\xA9\x7F\xC2\x80");
    EXPECT_TRUE(HasUtf8Bom("\xEF\xBB\xBF") && !HasUtf8Bom("\xEF\xBB") &&
                !HasUtf8Bom("x\xEF\xBB\xBF"));
    EXPECT_TRUE(IsPlatformName("Ж") && !IsPlatformName({"a\0b", 3}) && !IsPlatformName("\xFF"));
}

TEST(TextTest, WildcardsMatchWithoutRegardToCase) {
    const struct {
        const char *mask, *name;
        bool matches;
    } cases[] = {
        {"*.log", "a.LOG", true},  {"*b", "abab", true},     {"a*b", "abx", false},
        {"a*b*c", "aXbYc", true},  {"a?c", "abc", true},     {"a?c", "ac", false},
        {"**", "", true},          {"", "a", false},         {"*a*a*b", "aaaab", true},
        {"*a*a*b", "aaaa", false}, {"*.*", "noext", true},   {"*.txt", "a.txt.bak", false},
        {"?*", "", false},         {"*?", "x", true},        {"x*", "X", true},
        {".*", "", true},          {"a.*", "a", true},       {"a.*", "b", false},
        {"п*", "Папка", true},     {"\xFF*", "\xFF", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WildcardMatch(c.mask, c.name), c.matches) << c.mask << " " << c.name;
    }
    // Once a hang: each star was retried at every length.
    const std::string stars(200, '*');
    EXPECT_TRUE(WildcardMatch(stars + "t", "canary.txt") && !WildcardMatch(stars + "!", "x.txt"));
    EXPECT_FALSE(WildcardMatch(stars + "a" + stars + "b", std::string(300, 'a')));
}

}  // namespace
}  // namespace vw
