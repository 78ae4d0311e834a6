#include "common/read_ini.h"

#include "platform/run_error.h"
#include "text/profile_text.h"

namespace vw {

std::string ReadIni(ProfileReader& reader, const std::string& section, const std::string& key,
                    const std::string& file) {
    // The classic 255-character buffer, one kept for the terminator.
    constexpr std::uint16_t kMostUnits = 254;
    std::string result;
    ResumeNext([&] {
        // A reader never gives more; one that did must not widen the promise.
        result = CutToUnits(reader.ReadString(file, section, key, kMostUnits), kMostUnits);
    });
    return result;
}

}  // namespace vw
