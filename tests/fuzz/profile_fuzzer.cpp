// The simulated initialization-file reader over any file text (ANSI, UTF-8
// with its mark, UTF-16, or bytes that are none), section and key. Input:
// section NUL key NUL text (names reach the reader as C strings, so only the
// text may hold NULs).
#include "common/read_ini.h"
#include "fuzz.h"
#include "support/sim_run.h"
#include "text/utf8.h"

void vw::fuzz::Check(const std::string& input) {
    const auto endSection = input.find('\0'), endKey = input.find('\0', endSection + 1);
    if (endKey == std::string::npos) return;
    const std::string section = input.substr(0, endSection);
    const std::string key = input.substr(endSection + 1, endKey - endSection - 1);
    test::SimMachine m;
    m.UseIni(input.substr(endKey + 1));
    const std::string value = ReadIni(m.sim.profile, section, key, m.IniFile());
    std::u16string whole, units;
    Require(Utf8ToUtf16(value, whole), "the reader gives UTF-8 whatever the file holds");
    Require(whole.size() <= 254, "ReadIni gives at most 254 characters");
    // A smaller cut gets the value's first units (it may split a pair), never
    // more than asked for.
    const std::size_t n = whole.size();
    for (const std::size_t cut : {0ul, 1ul, 2ul, n - 1, n, n + 1, n + 2, 254ul}) {
        if (cut > 254) continue;
        const std::string got =
            m.sim.profile.ReadString(m.IniFile(), section, key, static_cast<std::uint16_t>(cut));
        Require(Utf8ToUtf16(got, units), "every cut is UTF-8");
        Require(units.size() <= cut, "the reader gives at most the units asked for");
        Require(units.size() <= n && whole.compare(0, units.size(), units) == 0,
                "a smaller cut gets a beginning of the value");
        Require(cut < 254 || got == value, "ReadIni gives the reader's answer");
    }
}
