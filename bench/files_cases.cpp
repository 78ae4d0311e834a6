#include <algorithm>
#include <cmath>
#include <string>

#include "bench.h"
#include "platform/win32/handles.h"

namespace vw::bench {

namespace {

const std::string kTempDir = std::string(kRoot) + "\\temp\\";
const std::string kBleachPath = std::string(kRoot) + "\\bleach.bin";

// ---- Temp: files spread over the Temp folder and folders two levels deep.

constexpr long kFilesPerFolder = 50;

// The Temp folder itself, then first-level folders each followed by its
// second-level ones: about n / 50 folders in all.
std::vector<std::string> TempLocations(long n) {
    const long folders = std::max(1L, n / kFilesPerFolder);
    const long top = std::max(1L, std::lround(std::sqrt(static_cast<double>(folders))));
    const long below = std::max(0L, folders / top - 1);
    std::vector<std::string> where{kTempDir};
    for (long a = 0; a < top; ++a) {
        const std::string first = kTempDir + Format("d%02ld\\", a);
        where.push_back(first);
        for (long b = 0; b < below; ++b) where.push_back(first + Format("s%02ld\\", b));
    }
    return where;
}

bool WriteFileOf(const std::string& path, const std::string& bytes, DWORD attributes) {
    win32::UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr)) {
        return false;
    }
    file.reset();
    return attributes == FILE_ATTRIBUTE_NORMAL ||
           ::SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

bool SeedTemp(long n) {
    if (!MakeFolders(kTempDir.substr(0, kTempDir.size() - 1))) return false;
    EmptyFolder(kTempDir);
    const std::vector<std::string> where = TempLocations(n);
    for (std::size_t i = 1; i < where.size(); ++i) {
        if (!::CreateDirectoryA(where[i].c_str(), nullptr)) return false;
    }
    const std::string bytes(200, 't');
    for (long i = 0; i < n; ++i) {
        // Some read-only, some hidden, a few both.
        DWORD attributes = FILE_ATTRIBUTE_NORMAL;
        if (i % 10 == 3) attributes = FILE_ATTRIBUTE_READONLY;
        if (i % 10 == 6) attributes = FILE_ATTRIBUTE_HIDDEN;
        if (i % 50 == 9) attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
        const std::string path = where[i % where.size()] + Format("f%05ld.tmp", i);
        if (!WriteFileOf(path, bytes, attributes)) return false;
    }
    return true;
}

void PrepareTemp(Context& ctx, long) {
    // The wash reads its folder from the temp variables.
    ::SetEnvironmentVariableA("TMP", kTempDir.c_str());
    ::SetEnvironmentVariableA("TEMP", kTempDir.c_str());
    ctx.Form();
}

void WashTemp(Context& ctx, long) {
    ctx.Form().WashTempFiles();
}

void LimitTemp(Context&, long) {
    EmptyFolder(kTempDir);
}

std::string TempLeftover(long) {
    long left = 0;
    WIN32_FIND_DATAA found;
    win32::UniqueFindHandle find(::FindFirstFileA((kTempDir + "*").c_str(), &found));
    if (!find) return "the Temp folder itself is gone";
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") ++left;
    } while (::FindNextFileA(find.get(), &found));
    return left ? Format("%ld entries left in %s", left, kTempDir.c_str()) : std::string();
}

// ---- Bleaching one large file.

constexpr DWORD kBlock = 4096;

long NormalizeBleach(long n) {
    return std::max(1L, n);
}

bool SeedBleach(long n) {
    if (!MakeFolders(kRoot)) return false;
    win32::UniqueFileHandle file(::CreateFileA(kBleachPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const std::string chunk(1 << 20, 'd');
    for (long left = n; left > 0;) {
        const DWORD piece = static_cast<DWORD>(std::min<long>(left, chunk.size()));
        DWORD written = 0;
        if (!::WriteFile(file.get(), chunk.data(), piece, &written, nullptr) || written != piece) {
            return false;
        }
        left -= piece;
    }
    // Both runs start with nothing of the seeding left to write.
    return ::FlushFileBuffers(file.get()) != FALSE;
}

void PrepareBleach(Context& ctx, long) {
    ctx.Form();
}

void WashBleach(Context& ctx, long) {
    ctx.Form().BleachFile(kBleachPath);
}

bool WriteBlock(HANDLE file, const char* bytes) {
    DWORD written = 0;
    return ::WriteFile(file, bytes, kBlock, &written, nullptr) && written == kBlock;
}

// Under Wine a write given its offset (OVERLAPPED) costs more than a seek and
// a write: the plain way writes on from where the last write ended and seeks
// back once per block.
bool BleachBlock(HANDLE file, const std::string& first, const std::string& second) {
    LARGE_INTEGER back{};
    back.QuadPart = -static_cast<LONGLONG>(kBlock);
    return WriteBlock(file, first.data()) &&
           ::SetFilePointerEx(file, back, nullptr, FILE_CURRENT) && WriteBlock(file, second.data());
}

void LimitBleach(Context& ctx, long) {
    const std::string xBlock(kBlock, 'X');
    const std::string blankBlock(kBlock, ' ');
    {
        win32::UniqueFileHandle file(::CreateFileA(kBleachPath.c_str(),
                                                   GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        if (!file || !::GetFileSizeEx(file.get(), &size)) {
            ctx.problem = "the limit could not open the file";
            return;
        }
        const std::uint64_t blocks = static_cast<std::uint64_t>(size.QuadPart) / kBlock + 1;
        for (std::uint64_t k = 0; k < blocks; ++k) {
            if (!BleachBlock(file.get(), xBlock, blankBlock)) {
                ctx.problem = "a write of the limit failed";
                return;
            }
        }
        ::FlushFileBuffers(file.get());
    }
    ::DeleteFileA(kBleachPath.c_str());
}

std::string BleachLeftover(long) {
    return ::GetFileAttributesA(kBleachPath.c_str()) == INVALID_FILE_ATTRIBUTES
               ? std::string()
               : kBleachPath + " is still there";
}

double BleachMegabytes(long n) {
    return static_cast<double>(n) / (1024.0 * 1024.0);
}

}  // namespace

const Case kTempCase = [] {
    Case c;
    c.name = "temp";
    c.defaultN = 20000;
    c.defaultReps = 5;
    c.seed = SeedTemp;
    c.prepare = PrepareTemp;
    c.wash = WashTemp;
    c.limit = LimitTemp;
    c.leftover = TempLeftover;
    return c;
}();

const Case kBleachCase = [] {
    Case c;
    c.name = "bleach";
    c.defaultN = 256L << 20;
    c.defaultReps = 3;
    c.normalize = NormalizeBleach;
    c.seed = SeedBleach;
    c.prepare = PrepareBleach;
    c.wash = WashBleach;
    c.limit = LimitBleach;
    c.leftover = BleachLeftover;
    c.megabytes = BleachMegabytes;
    return c;
}();

}  // namespace vw::bench
