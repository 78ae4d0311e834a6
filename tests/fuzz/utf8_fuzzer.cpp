// The seam's UTF-8 over any bytes. Whatever Utf8ToUtf16 accepts converts back
// to the same bytes, so no two byte strings name the same file; any units
// (here the input read as UTF-16) convert to UTF-8 and back unchanged; the
// case folding never crashes and is idempotent.
#include "fuzz.h"
#include "text/name_case.h"
#include "text/profile_text.h"
#include "text/utf8.h"

void vw::fuzz::Check(const std::string& bytes) {
    std::u16string units, again, arbitrary;
    const bool accepted = Utf8ToUtf16(bytes, units);
    Require(!accepted || Utf16ToUtf8(units) == bytes, "accepted UTF-8 converts back to its bytes");
    Require(!accepted || units.size() <= bytes.size(), "no more units than bytes");
    for (std::size_t n = 0; accepted && n <= units.size(); n += 1 + n / 4)
        Require(Utf8ToUtf16(CutToUnits(bytes, n), again) && again == units.substr(0, n),
                "a cut keeps the first units");
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        arbitrary += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                           static_cast<unsigned char>(bytes[i + 1]) << 8);
    const std::string utf8 = Utf16ToUtf8(arbitrary);
    Require(Utf8ToUtf16(utf8, again) && again == arbitrary, "any units round-trip exactly");
    Require(Utf8ToUtf16(Latin1ToUtf8(bytes), again) && again.size() == bytes.size(),
            "Latin-1 gives one character per byte");
    for (const std::string* name : {&bytes, &utf8}) {
        const std::string upper = UpcaseName(*name);
        Require(UpcaseName(upper) == upper, "upper-casing is idempotent");
        Require(upper.size() == name->size() || Utf8ToUtf16(*name, again),
                "bytes that are no UTF-8 keep their length");
    }
}
