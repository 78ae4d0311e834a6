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
    static const std::vector<ProfileCase> cases = {
        {"plain", "[Standard Options]\r\nFindHistory=1\r\n", "Standard Options", "FindHistory", 255,
         "1"},
        {"blanks around equals and value", "[Standard Options]\r\nFindHistory  =   1   \r\n",
         "Standard Options", "FindHistory", 255, "1"},
        {"tab around value", "[S]\r\nK=\t1\t\r\n", "S", "K", 255, "1"},
        {"double quotes", "[S]\r\nK=\"1\"\r\n", "S", "K", 255, "1"},
        {"single quotes", "[S]\r\nK='a b'\r\n", "S", "K", 255, "a b"},
        {"unbalanced quote kept", "[S]\r\nK=\"1\r\n", "S", "K", 255, "\"1"},
        {"mixed quotes kept", "[S]\r\nK=\"1'\r\n", "S", "K", 255, "\"1'"},
        {"blanks inside quotes kept", "[S]\r\nK=\" 1 \"\r\n", "S", "K", 255, " 1 "},
        {"names in other case", "[standard options]\r\nFINDHISTORY=1\r\n", "Standard Options",
         "FindHistory", 255, "1"},
        {"blanks around section name", "[ S ]\r\nK=1\r\n", "S", "K", 255, "1"},
        {"missing key", "[S]\r\nK=1\r\n", "S", "Other", 255, ""},
        {"missing section", "[S]\r\nK=1\r\n", "T", "K", 255, ""},
        {"key in another section", "[S]\r\nA=1\r\n[T]\r\nK=2\r\n", "S", "K", 255, ""},
        {"empty value", "[S]\r\nK=\r\n", "S", "K", 255, ""},
        {"first of duplicate keys", "[S]\r\nK=1\r\nK=2\r\n", "S", "K", 255, "1"},
        {"value of 01", "[S]\r\nK=01\r\n", "S", "K", 255, "01"},
        {"unix line ends", "[S]\nK=1\nL=2\n", "S", "L", 255, "2"},
        {"no final line end", "[S]\r\nK=yes", "S", "K", 255, "yes"},
        {"equals inside value", "[S]\r\nK=a=b\r\n", "S", "K", 255, "a=b"},
        {"comment line ignored", "[S]\r\n;K=2\r\nK=1\r\n", "S", "K", 255, "1"},
        {"entries before any section", "K=1\r\n[S]\r\nL=2\r\n", "S", "K", 255, ""},
        {"value cut to 254", "[S]\r\nK=" + k300 + "\r\n", "S", "K", 255, std::string(254, 'x')},
        {"small buffer cuts", "[S]\r\nK=abcdef\r\n", "S", "K", 4, "abc"},

        // Windows itself reads a UTF-8 file as ANSI, mark and all.
        {"utf-8 file with its mark", kBom + "[S]\r\nK=Привет, 日本\r\n", "S", "K", 255,
         "Привет, 日本"},
        {"utf-8 names in other case", kBom + "[Папка]\r\nКлюч = \"Ελλάδα\"\r\n", "ПАПКА", "ключ",
         255, "Ελλάδα"},
        {"utf-8 mark on a file that is none: ansi",
         kBom + "[S]\r\nK=a\xFF"
                "b\r\n",
         "S", "K", 255, "aÿb"},
        {"ansi file", "[S]\r\nK=caf\xE9\r\n", "S", "K", 255, "café"},
        {"utf-16 file", Utf16File("[S]\r\nK=", std::string("\x16\x04\x3D\xD8\x00\xDE", 6)), "S",
         "K", 255, "Ж\xF0\x9F\x98\x80"},
        {"utf-8 value cut at 254 characters, not bytes", kBom + "[S]\r\nK=" + Repeat("Ж", 300), "S",
         "K", 255, Repeat("Ж", 254)},
        {"ansi value cut at 254 characters, not bytes", "[S]\r\nK=" + std::string(300, '\xE9'), "S",
         "K", 255, Repeat("é", 254)},
        // Characters past U+FFFF take two units; a cut may fall between them.
        {"cut between the halves of a pair", kBom + "[S]\r\nK=\"\xF0\x9F\x98\x80\"\r\n", "S", "K",
         3, "\xED\xA0\xBD"},
        {"quoted pair that fits", kBom + "[S]\r\nK=\"\xF0\x9F\x98\x80\"\r\n", "S", "K", 4,
         "\xF0\x9F\x98\x80"},
    };
    return cases;
}

}  // namespace vw::contract
