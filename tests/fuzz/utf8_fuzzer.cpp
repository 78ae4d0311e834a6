// The seam's UTF-8 over any bytes. Whatever Utf8ToUtf16 accepts converts back
// to the same bytes, so no two byte strings name the same file; any units
// (here the input read as UTF-16) convert to UTF-8 and back unchanged; the
// case folding never crashes and is idempotent.
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "text/name_case.h"
#include "text/profile_text.h"
#include "text/utf8.h"

using vw::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    std::u16string units;
    if (vw::Utf8ToUtf16(bytes, units)) {
        Require(vw::Utf16ToUtf8(units) == bytes, "accepted UTF-8 converts back to its bytes");
        Require(units.size() <= bytes.size(), "no more units than bytes");
        for (std::size_t n = 0; n <= units.size(); n += 1 + n / 4) {
            std::u16string back;
            Require(vw::Utf8ToUtf16(vw::CutToUnits(bytes, n), back) && back == units.substr(0, n),
                    "a cut keeps the first units");
        }
    }

    std::u16string arbitrary;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        arbitrary += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    }
    const std::string utf8 = vw::Utf16ToUtf8(arbitrary);
    std::u16string again;
    Require(vw::Utf8ToUtf16(utf8, again), "what Utf16ToUtf8 gives is accepted");
    Require(again == arbitrary, "any units round-trip exactly");

    const std::string latin1 = vw::Latin1ToUtf8(bytes);
    Require(vw::Utf8ToUtf16(latin1, again) && again.size() == bytes.size(),
            "Latin-1 gives one character per byte");

    for (const std::string* name : {&bytes, &utf8}) {
        const std::string upper = vw::UpcaseName(*name);
        Require(vw::UpcaseName(upper) == upper, "upper-casing is idempotent");
        Require(upper.size() == name->size() || vw::Utf8ToUtf16(*name, again),
                "bytes that are no UTF-8 keep their length");
    }
    return 0;
}
