#include "common/read_ini.h"

#include <cstdint>

#include "platform/run_error.h"

namespace vw {

std::string ReadIni(ProfileReader& reader, const std::string& section, const std::string& key,
                    const std::string& file) noexcept {
    constexpr std::uint32_t kBufferSize = 255;
    std::string result;
    ResumeNext([&] {
        std::string buffer(kBufferSize, '\0');
        std::uint32_t n =
            reader.GetPrivateProfileStringA(section, key, "", buffer.data(), kBufferSize, file);
        if (n > kBufferSize - 1) n = kBufferSize - 1;  // a reader never copies more
        result.assign(buffer.data(), n);
    });
    return result;
}

}  // namespace vw
