#include "platform/win32/win32_profile.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "text/profile_text.h"
#include "text/utf8.h"

namespace vw::win32 {

namespace {

// Far beyond any settings file; a larger one is left to the system.
constexpr LONGLONG kMostBytesParsedHere = 16 << 20;

// The whole file when it starts with the UTF-8 mark; nothing otherwise or
// when it cannot be read.
std::optional<std::string> Utf8BomFile(const std::wstring& file) {
    const UniqueFileHandle h(::CreateFileW(file.c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!h || !::GetFileSizeEx(h.get(), &size) || size.QuadPart < 3 ||
        size.QuadPart > kMostBytesParsedHere) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!::ReadFile(h.get(), bytes.data(), 3, &got, nullptr) || got != 3 || !HasUtf8Bom(bytes)) {
        return std::nullopt;
    }
    std::size_t have = 3;
    while (have < bytes.size()) {
        const DWORD want = static_cast<DWORD>(bytes.size() - have);
        if (!::ReadFile(h.get(), bytes.data() + have, want, &got, nullptr)) return std::nullopt;
        if (got == 0) break;  // shrank meanwhile
        have += got;
    }
    bytes.resize(have);
    return bytes;
}

}  // namespace

std::string Win32ProfileReader::ReadString(const std::string& file, const std::string& section,
                                           const std::string& key, std::uint16_t maxUnits) {
    // A bare or empty name would make the system read a file in the Windows
    // folder instead; this program never reads settings from there.
    std::wstring wideSection, wideKey, wideFile;
    if (file.empty() || !ToWide(section, wideSection) || !ToWide(key, wideKey) ||
        !ToWide(file, wideFile)) {
        return {};
    }
    if (const auto bytes = Utf8BomFile(wideFile)) {
        return ProfileValue(ProfileFileText(*bytes, AnsiToUtf8), section, key, maxUnits);
    }
    const DWORD size = maxUnits + 1u;  // one for the terminator
    std::vector<wchar_t> buffer(size, L'\0');
    const DWORD n = ::GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), L"",
                                               buffer.data(), size, wideFile.c_str());
    return FromWideBuffer(buffer.data(), std::min<std::size_t>(n, maxUnits));
}

}  // namespace vw::win32
