#include "text/wildcard.h"

#include "text/name_case.h"
#include "text/utf8.h"

namespace vw {

namespace {

// Only the last star is ever retried: trying every length for every star
// takes exponential time on a mask of many stars. Names compare unit by unit
// through the platform's upper-case table.
bool Match(const char16_t* m, const char16_t* n) {
    const char16_t* star = nullptr;
    const char16_t* resume = nullptr;
    while (*n) {
        if (*m == u'*') {
            star = m++;
            resume = n;
        } else if (*m && (*m == u'?' || UpcaseUnit(*m) == UpcaseUnit(*n))) {
            ++m;
            ++n;
        } else if (star) {
            m = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (*m == u'*') ++m;
    return !*m;
}

}  // namespace

bool WildcardMatch(const std::string& mask, const std::string& name) {
    std::u16string m, n;
    if (!Utf8ToUtf16(mask, m) || !Utf8ToUtf16(name, n)) return false;
    if (Match(m.c_str(), n.c_str())) return true;
    const bool dotStar = m.size() >= 2 && m.compare(m.size() - 2, 2, u".*") == 0;
    return dotStar && n.find(u'.') == std::u16string::npos &&
           Match(m.substr(0, m.size() - 2).c_str(), n.c_str());
}

}  // namespace vw
