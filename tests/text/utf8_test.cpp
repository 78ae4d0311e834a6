#include "text/utf8.h"

#include <gtest/gtest.h>

#include "text/name_case.h"

namespace vw {
namespace {

std::u16string Units(std::string_view utf8) {
    std::u16string out;
    EXPECT_TRUE(Utf8ToUtf16(utf8, out)) << utf8;
    return out;
}

TEST(Utf8Test, NamesInEveryScriptRoundTrip) {
    for (const char* name :
         {"plain.txt", "Папка", "Ελληνικά", "日本語.txt", "\xF0\x9F\x98\x80.txt", "\xEF\xBF\xBF"}) {
        EXPECT_EQ(Utf16ToUtf8(Units(name)), name);
    }
    EXPECT_EQ(Units("\xF0\x9F\x98\x80"), (std::u16string{0xD83D, 0xDE00}));
    EXPECT_EQ(Units("\xD0\x9F"), std::u16string{0x41F});
}

TEST(Utf8Test, LoneSurrogatesSurviveTheRoundTrip) {
    // Windows accepts them in file names; they must not come back as "?".
    const std::u16string lone{u'a', 0xD800, u'b', 0xDC00};
    std::u16string back;
    ASSERT_TRUE(Utf8ToUtf16(Utf16ToUtf8(lone), back));
    EXPECT_EQ(back, lone);
}

TEST(Utf8Test, MalformedBytesAreRefused) {
    std::u16string out;
    for (const char* bad : {"\xFF", "\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xF4\x90\x80\x80",
                            "\xE6\x97", "a\xC3", "\xED\xA0\xBD\xED\xB8\x80"}) {
        EXPECT_FALSE(Utf8ToUtf16(bad, out)) << "refused: " << ::testing::PrintToString(bad);
    }
}

TEST(Utf8Test, Latin1BytesBecomeTheirCharacters) {
    EXPECT_EQ(Latin1ToUtf8("caf\xE9"), "caf\xC3\xA9");
    EXPECT_TRUE(HasUtf8Bom("\xEF\xBB\xBFx"));
    EXPECT_FALSE(HasUtf8Bom("\xEF\xBB"));
}

TEST(NameCaseTest, LettersOfEveryCasedScriptUpcase) {
    EXPECT_EQ(UpcaseName("abc.Txt"), "ABC.TXT");
    EXPECT_EQ(UpcaseName("папка"), "ПАПКА");
    EXPECT_EQ(UpcaseName("ёж"), "ЁЖ");
    EXPECT_EQ(UpcaseName("ελληνικά"), "ΕΛΛΗΝΙΚΆ");
    EXPECT_EQ(UpcaseName("ς"), "Σ");
    EXPECT_EQ(UpcaseName("çœÿ"), "ÇŒŸ");
    EXPECT_EQ(UpcaseName("日本語"), "日本語");
    EXPECT_EQ(UpcaseName("\xF0\x9F\x98\x80x"), "\xF0\x9F\x98\x80X");
    // Not UTF-8: ASCII letters still match.
    EXPECT_EQ(UpcaseName("a\xFF"), "A\xFF");
}

}  // namespace
}  // namespace vw
