#include <gtest/gtest.h>

#include <string>

#include "text/wildcard.h"

namespace vw {
namespace {

TEST(WildcardMatchTest, StarsAndQuestionMarksWithoutRegardToCase) {
    const struct {
        const char* mask;
        const char* name;
        bool matches;
    } cases[] = {
        {"*.log", "a.LOG", true},  {"*b", "abab", true},   {"a*b", "abx", false},
        {"a*b*c", "aXbYc", true},  {"a?c", "abc", true},   {"a?c", "ac", false},
        {"**", "", true},          {"", "a", false},       {"*a*a*b", "aaaab", true},
        {"*a*a*b", "aaaa", false}, {"*.*", "noext", true}, {"*.txt", "a.txt.bak", false},
        {"?*", "", false},         {"*?", "x", true},      {"x*", "X", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WildcardMatch(c.mask, c.name), c.matches) << c.mask << " " << c.name;
    }
}

TEST(WildcardMatchTest, ManyStarsTakeLinearTime) {
    // Once a hang: each star was retried at every length.
    const std::string stars(200, '*');
    EXPECT_FALSE(WildcardMatch(stars + "!", "canary.txt"));
    EXPECT_TRUE(WildcardMatch(stars + "t", "canary.txt"));
    EXPECT_FALSE(WildcardMatch(stars + "a" + stars + "b", std::string(300, 'a')));
}

}  // namespace
}  // namespace vw
