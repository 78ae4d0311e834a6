#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "wash/frm_wash.h"

namespace vw::bench {

// Every case keeps its data below this folder of the sandbox's C: drive.
inline constexpr char kRoot[] = "C:\\bench";

// What the measuring process keeps across the runs of one case.
class Context {
  public:
    Platform& platform() { return platform_.Get(); }
    // The wash window, created on first use; cases create it before timing.
    frmWash& Form();

    // Set by a run that went wrong in a way its leftovers cannot show.
    std::string problem;

  private:
    win32::Win32Platform platform_;
    std::unique_ptr<frmWash> form_;
};

// One benchmark case: a data set, the wash that removes it and the plainest
// direct Win32 code doing the same job (the limit).
struct Case {
    const char* name = "";
    long defaultN = 1;
    int defaultReps = 1;
    // Rounds a requested size to one the data layout can hold exactly.
    long (*normalize)(long n) = nullptr;
    // Builds a fresh data set; runs in a child process so the measuring
    // process's peak working set never holds the seeding. Null: nothing to seed.
    bool (*seed)(long n) = nullptr;
    // Once, untimed, before the first run (warm-up, windows). May be null.
    void (*prepare)(Context& ctx, long n) = nullptr;
    void (*wash)(Context& ctx, long n) = nullptr;
    void (*limit)(Context& ctx, long n) = nullptr;
    // What a run left of its data set; empty when all is gone as it should be.
    std::string (*leftover)(long n) = nullptr;
    // Megabytes the job processes, for a throughput line; null when none.
    double (*megabytes)(long n) = nullptr;
    // The size is the number of runs of each side (a run has no data set).
    bool sizeIsRuns = false;
};

extern const Case kTempCase;
extern const Case kTreeCase;
extern const Case kPrefixCase;
extern const Case kPrefixWalkCase;
extern const Case kCacheCase;
extern const Case kCacheWalkCase;
extern const Case kBleachCase;
extern const Case kStartupCase;
// The preview of the Temp wash, against that wash.
extern const Case kPreviewCase;

// QueryPerformanceCounter in milliseconds.
double NowMs();
double Median(std::vector<double> samples);
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The folder of this program, without trailing "\".
std::string ProgramFolder();
std::string ProgramPath();

// Starts `exe` with `arguments` in folder `cwd` and waits for its end.
// False when it cannot be started or outlives `timeoutMs`.
bool RunAndWait(const std::string& exe, const std::string& arguments, const std::string& cwd,
                DWORD timeoutMs, DWORD& exitCode);

std::uint64_t PeakWorkingSetKib();

// Creates the folder and its missing parents.
bool MakeFolders(const std::string& path);

// Removes everything below `dir` (which ends with "\"), the plain way:
// read-only attributes cleared, folders removed after their content.
void EmptyFolder(const std::string& dir);

}  // namespace vw::bench
