// The simulated initialization-file reader over any file text, section and
// key. Input: section NUL key NUL text (names reach the reader as C strings,
// so only the text may hold NULs).
#include <cstdint>
#include <string>
#include <vector>

#include "common/read_ini.h"
#include "fuzz_check.h"
#include "support/sim_run.h"

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
    Require(value.size() <= 254, "ReadIni gives at most 254 characters");

    // Buffers of exactly the size announced, so a write past the end is caught.
    const std::size_t sizes[] = {
        1, 2, 3, value.size(), value.size() + 1, value.size() + 2, value.size() + 3, 255};
    for (const std::size_t n : sizes) {
        if (n == 0 || n > 255) continue;
        std::vector<char> buffer(n, '\x7f');
        const auto copied = m.sim.profile.GetPrivateProfileStringA(
            section, key, "", buffer.data(), static_cast<std::uint32_t>(n), m.IniFile());
        Require(copied <= n - 1, "the reader copies at most size - 1 characters");
        Require(buffer[copied] == '\0', "the reader terminates what it copies");
        const std::string got(buffer.data(), copied);
        Require(value.compare(0, got.size(), got) == 0 && got.size() <= value.size(),
                "a smaller buffer gets a beginning of the value");
        if (n == 255) Require(got == value, "ReadIni gives the reader's answer");
    }
    return 0;
}
