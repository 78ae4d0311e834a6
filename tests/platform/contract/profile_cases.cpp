#include "platform/contract/profile_cases.h"

namespace vw::contract {

namespace {

const std::string kBom = "\xEF\xBB\xBF";

std::string Repeat(const std::string& s, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += s;
    return out;
}

// The bytes of an ASCII text in UTF-16 (little-endian), with its mark.
std::string Utf16File(const std::string& ascii, const std::string& extraUnits) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) out += std::string{c, '\0'};
    return out + extraUnits;
}

}  // namespace

const std::vector<ProfileCase>& ProfileCases() {
    static const std::string k300(300, 'x');
    static const std::string kOn = "[S]\r\nK=1\r\n";
    static const std::vector<ProfileCase> cases = {
        {"Plain", "[Standard Options]\r\nFindHistory=1\r\n", "Standard Options", "FindHistory", 254,
         "1"},
        {"BlanksAroundEqualsAndValue", "[Standard Options]\r\nFindHistory  =   1   \r\n",
         "Standard Options", "FindHistory", 254, "1"},
        {"TabsAroundValue", "[S]\r\nK=\t1\t\r\n", "S", "K", 254, "1"},
        {"DoubleQuotes", "[S]\r\nK=\"1\"\r\n", "S", "K", 254, "1"},
        {"SingleQuotes", "[S]\r\nK='a b'\r\n", "S", "K", 254, "a b"},
        {"UnbalancedQuoteKept", "[S]\r\nK=\"1\r\n", "S", "K", 254, "\"1"},
        {"MixedQuotesKept", "[S]\r\nK=\"1'\r\n", "S", "K", 254, "\"1'"},
        {"BlanksInsideQuotesKept", "[S]\r\nK=\" 1 \"\r\n", "S", "K", 254, " 1 "},
        {"NamesInOtherCase", "[standard options]\r\nFINDHISTORY=1\r\n", "Standard Options",
         "FindHistory", 254, "1"},
        {"BlanksAroundSectionName", "[ S ]\r\nK=1\r\n", "S", "K", 254, "1"},
        {"MissingKey", kOn, "S", "Other", 254, ""},
        {"MissingSection", kOn, "T", "K", 254, ""},
        {"KeyInAnotherSection", "[S]\r\nA=1\r\n[T]\r\nK=2\r\n", "S", "K", 254, ""},
        {"EmptyValue", "[S]\r\nK=\r\n", "S", "K", 254, ""},
        {"FirstOfDuplicateKeys", "[S]\r\nK=1\r\nK=2\r\n", "S", "K", 254, "1"},
        {"ValueOf01", "[S]\r\nK=01\r\n", "S", "K", 254, "01"},
        {"UnixLineEnds", "[S]\nK=1\nL=2\n", "S", "L", 254, "2"},
        {"NoFinalLineEnd", "[S]\r\nK=yes", "S", "K", 254, "yes"},
        {"EqualsInsideValue", "[S]\r\nK=a=b\r\n", "S", "K", 254, "a=b"},
        {"SemicolonLineIsNoSetting", "[S]\r\n;K=2\r\nK=1\r\n", "S", "K", 254, "1"},
        {"EntriesBeforeAnySection", "K=1\r\n[S]\r\nL=2\r\n", "S", "K", 254, ""},
        {"ValueCutTo254", "[S]\r\nK=" + k300 + "\r\n", "S", "K", 254, std::string(254, 'x')},
        {"FewerUnitsCut", "[S]\r\nK=abcdef\r\n", "S", "K", 3, "abc"},
        {"NoUnitsGiveNothing", kOn, "S", "K", 0, ""},

        // Windows itself reads a UTF-8 file as ANSI, mark and all.
        {"Utf8FileWithItsMark", kBom + "[S]\r\nK=Привет, 日本\r\n", "S", "K", 254, "Привет, 日本"},
        {"Utf8NamesInOtherCase", kBom + "[Папка]\r\nКлюч = \"Ελλάδα\"\r\n", "ПАПКА", "ключ", 254,
         "Ελλάδα"},
        {"Utf8MarkOnAFileThatIsNoneReadsAsAnsi",
         kBom + "[S]\r\nK=a\xFF"
                "b\r\n",
         "S", "K", 254, "aÿb"},
        {"AnsiFile", "[S]\r\nK=caf\xE9\r\n", "S", "K", 254, "café"},
        {"Utf16File", Utf16File("[S]\r\nK=", std::string("\x16\x04\x3D\xD8\x00\xDE", 6)), "S", "K",
         254, "Ж\xF0\x9F\x98\x80"},
        {"Utf8ValueCutAt254CharactersNotBytes", kBom + "[S]\r\nK=" + Repeat("Ж", 300), "S", "K",
         254, Repeat("Ж", 254)},
        {"AnsiValueCutAt254CharactersNotBytes", "[S]\r\nK=" + std::string(300, '\xE9'), "S", "K",
         254, Repeat("é", 254)},
        // Characters past U+FFFF take two units; a cut may fall between them.
        // The closing quote is seen only with room for it.
        {"CutBetweenTheHalvesOfAPair", kBom + "[S]\r\nK=\"\xF0\x9F\x98\x80\"\r\n", "S", "K", 2,
         "\xED\xA0\xBD"},
        {"QuotedPairWithRoomForItsQuote", kBom + "[S]\r\nK=\"\xF0\x9F\x98\x80\"\r\n", "S", "K", 3,
         "\xF0\x9F\x98\x80"},
        {"QuotedAsciiExactlyAsLongAsTheCut", "[S]\r\nK=\"abc\"\r\n", "S", "K", 3, "ab"},
        {"QuotedCharWithoutRoomForItsQuote", "[S]\r\nK='a'\r\n", "S", "K", 1, ""},
        {"QuotedValueLongerThanTheCut", "[S]\r\nK=\"abcd\"\r\n", "S", "K", 3, "abc"},
        {"EmptyQuotes", "[S]\r\nK=\"\"\r\n", "S", "K", 254, ""},
        {"SemicolonLineIsAKeyLikeAnyOther", "[S]\r\n;K=2\r\n", "S", ";K", 254, "2"},

        // Names nothing can spell, and files that are not there to read.
        {"SectionThatIsNoUtf8", kOn, "S\xFF", "K", 254, ""},
        {"KeyHoldingANul", std::string("[S]\r\nK\0=1\r\n", 11), "S", std::string("K\0", 2), 254,
         ""},
        {"EmptyFileName", kOn, "S", "K", 254, "", ProfileFile::kEmpty},
        {"MissingFile", kOn, "S", "K", 254, "", ProfileFile::kMissing},
        {"FileNameThatIsNoUtf8", kOn, "S", "K", 254, "", ProfileFile::kNoUtf8},
    };
    return cases;
}

std::string ProfileCaseFile(const ProfileCase& c, const std::string& own) {
    switch (c.file) {
        case ProfileFile::kOwn:
            return own;
        case ProfileFile::kEmpty:
            return "";
        case ProfileFile::kMissing:
            return own + ".absent";
        case ProfileFile::kNoUtf8:
            return own + "\xC0";
    }
    return own;
}

}  // namespace vw::contract
