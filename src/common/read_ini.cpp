#include "common/read_ini.h"

#include "platform/run_error.h"
#include "text/profile_text.h"

namespace vw {

std::string ReadIni(ProfileReader& reader, const std::string& section, const std::string& key,
                    const std::string& file) {
    constexpr std::uint32_t kBufferSize = 255;
    std::string result;
    ResumeNext([&] {
        // A reader never gives more; one that did must not widen the promise.
        result = CutToUnits(reader.GetPrivateProfileStringA(section, key, "", kBufferSize, file),
                            kBufferSize - 1);
    });
    return result;
}

}  // namespace vw
