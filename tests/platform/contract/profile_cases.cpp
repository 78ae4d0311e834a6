#include "platform/contract/profile_cases.h"

namespace vw::contract {

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
    };
    return cases;
}

}  // namespace vw::contract
