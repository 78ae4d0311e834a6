// The simulated initialization-file reader over any file text (ANSI, UTF-8
// with its mark, UTF-16, or bytes that are none), section and key. Input:
// section NUL key NUL text (names reach the reader as C strings, so only the
// text may hold NULs).
#include <cstdint>
#include <string>

#include "common/read_ini.h"
#include "fuzz_check.h"
#include "support/sim_run.h"
#include "text/utf8.h"

using vw::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto endSection = input.find('\0');
    if (endSection == std::string::npos) return 0;
    const auto endKey = input.find('\0', endSection + 1);
    if (endKey == std::string::npos) return 0;
    const std::string section = input.substr(0, endSection);
    const std::string key = input.substr(endSection + 1, endKey - endSection - 1);

    vw::test::SimMachine m;
    m.UseIni(input.substr(endKey + 1));
    const std::string value = vw::ReadIni(m.sim.profile, section, key, m.IniFile());
    std::u16string valueUnits;
    Require(vw::Utf8ToUtf16(value, valueUnits), "the reader gives UTF-8 whatever the file holds");
    Require(valueUnits.size() <= 254, "ReadIni gives at most 254 characters");

    // A smaller cut gets the value's first units (it may split a pair), never
    // more than asked for.
    const std::size_t n = valueUnits.size();
    const std::size_t cuts[] = {0, 1, 2, n - 1, n, n + 1, n + 2, 254};
    for (const std::size_t cut : cuts) {
        if (cut > 254) continue;
        const std::string got =
            m.sim.profile.ReadString(m.IniFile(), section, key, static_cast<std::uint16_t>(cut));
        std::u16string units;
        Require(vw::Utf8ToUtf16(got, units), "every cut is UTF-8");
        Require(units.size() <= cut, "the reader gives at most the units asked for");
        Require(units.size() <= n && valueUnits.compare(0, units.size(), units) == 0,
                "a smaller cut gets a beginning of the value");
        if (cut == 254) Require(got == value, "ReadIni gives the reader's answer");
    }
    return 0;
}
