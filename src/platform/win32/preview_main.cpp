#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <exception>
#include <sstream>
#include <string>

#include "platform/win32/win32_platform.h"
#include "preview/preview_run.h"
#include "preview/report.h"

namespace {

constexpr const char* kHelp =
    "Usage: vantrixpreview [--json] [--help]\n"
    "Runs the wash that Local.Ini beside this program sets up, with every change held back,\n"
    "and reports what the wash would remove, the boxes it would show and how it would end.\n"
    "Nothing is changed. A wash or another preview running refuses it (exit 3).\n"
    "  --json  one JSON object per line: each change, each box, then the end of the run\n"
    "  --help  this text\n";

void Print(const std::string& text, std::FILE* to = stdout) {
    std::fwrite(text.data(), 1, text.size(), to);
    std::fflush(to);
}

}  // namespace

int main(int argc, char** argv) {
    // The same bytes on every system: lines end in "\n" alone.
    _setmode(_fileno(stdout), _O_BINARY);
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--json") {
            json = true;
        } else if (arg == "--help") {
            Print(kHelp);
            return 0;
        } else {
            Print("vantrixpreview: unknown argument \"" + arg + "\"; see --help\n", stderr);
            return 2;
        }
    }
    try {
        vw::win32::Win32Platform platform;
        // The wash's own instance: neither runs while the other does.
        if (platform.Get().process.AnotherInstanceRunning()) {
            Print(json ? "{\"end\":\"refused\"}\n"
                       : "vantrixpreview: a wash or another preview is running; try again later\n");
            return 3;
        }
        const vw::preview::PreviewResult result = vw::preview::RunPreview(platform.Get());
        std::ostringstream report;
        if (json) {
            vw::preview::WriteJsonReport(result, report);
        } else {
            vw::preview::WriteTextReport(result, report);
        }
        Print(report.str());
        return 0;
    } catch (const std::exception& e) {
        Print(std::string("vantrixpreview: ") + e.what() + "\n", stderr);
        return 1;
    }
}
