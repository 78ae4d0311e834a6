#include <algorithm>
#include <string>

#include "bench.h"
#include "platform/win32/handles.h"

namespace vw::bench {

namespace {

const std::string kAppDir = std::string(kRoot) + "\\app";
constexpr char kWashExe[] = "vantrixwash.exe";
constexpr char kReferenceExe[] = "vantrix_bench_startup.exe";
constexpr DWORD kRunTimeoutMs = 60000;

// Every switch off, the custom lists skipped: the run reads its settings,
// steps through the items and ends.
constexpr char kLocalIni[] =
    "[Standard Options]\r\nFindHistory=0\r\nDocumentHistory=0\r\nRunHistory=0\r\n"
    "RecycleBin=0\r\nMediaPlayer=0\r\nTempFiles=0\r\nScanTempFiles=0\r\nMSOfficeTrack=0\r\n"
    "IE=0\r\nNetscape=0\r\n[Wash Options]\r\nSkipAllCustomWashItems=1\r\nSkipMessages=1\r\n";

long NormalizeStartup(long n) {
    return std::max(1L, n);
}

void Run(Context& ctx, const char* exe) {
    DWORD code = 0;
    if (!RunAndWait(kAppDir + "\\" + exe, "", kAppDir, kRunTimeoutMs, code)) {
        ctx.problem = std::string(exe) + " did not start or did not end";
    } else if (code != 0) {
        ctx.problem = Format("%s ended with %lu", exe, static_cast<unsigned long>(code));
    }
}

// The programs run from a folder of their own, the settings beside them.
void PrepareStartup(Context& ctx, long) {
    if (!MakeFolders(kAppDir)) {
        ctx.problem = "cannot create " + kAppDir;
        return;
    }
    for (const char* exe : {kWashExe, kReferenceExe}) {
        const std::string from = ProgramFolder() + "\\" + exe;
        if (!::CopyFileA(from.c_str(), (kAppDir + "\\" + exe).c_str(), FALSE)) {
            ctx.problem = "cannot copy " + from;
            return;
        }
    }
    {
        win32::UniqueFileHandle ini(::CreateFileA((kAppDir + "\\Local.Ini").c_str(), GENERIC_WRITE,
                                                  0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                                  nullptr));
        DWORD written = 0;
        if (!ini || !::WriteFile(ini.get(), kLocalIni, sizeof kLocalIni - 1, &written, nullptr)) {
            ctx.problem = "cannot write Local.Ini";
            return;
        }
    }
    // One untimed start of each: the first loads what later starts find cached.
    Run(ctx, kWashExe);
    Run(ctx, kReferenceExe);
}

void WashStartup(Context& ctx, long) {
    Run(ctx, kWashExe);
}

void LimitStartup(Context& ctx, long) {
    Run(ctx, kReferenceExe);
}

}  // namespace

const Case kStartupCase = [] {
    Case c;
    c.name = "startup";
    c.defaultN = 11;
    c.defaultReps = 1;
    c.normalize = NormalizeStartup;
    c.prepare = PrepareStartup;
    c.wash = WashStartup;
    c.limit = LimitStartup;
    c.sizeIsRuns = true;
    return c;
}();

}  // namespace vw::bench
