// Times each wash against the plainest direct Win32 code for the same job,
// on identical data, in one process.
//
//   vantrix_bench <case> [--n SIZE] [--reps COUNT] [--samples]
//   vantrix_bench seed <case> SIZE      (internal: builds one data set)
//
// Cases: temp, tree, prefix, cache, bleach, startup, preview.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench.h"

namespace vw::bench {

namespace {

constexpr DWORD kSettleMs = 1000;

const Case* const kCases[] = {&kTempCase,       &kTreeCase,    &kPrefixCase,
                              &kPrefixWalkCase, &kCacheCase,   &kCacheWalkCase,
                              &kBleachCase,     &kStartupCase, &kPreviewCase};

const Case* FindCase(const char* name) {
    for (const Case* c : kCases) {
        if (std::strcmp(c->name, name) == 0) return c;
    }
    return nullptr;
}

void Say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

int Usage() {
    std::string names;
    for (const Case* c : kCases) names += std::string(" ") + c->name;
    std::fprintf(stderr,
                 "usage: vantrix_bench <case> [--n SIZE] [--reps COUNT] [--samples]\ncases:%s\n",
                 names.c_str());
    return 2;
}

long Normalized(const Case& c, long n) {
    return c.normalize ? c.normalize(n) : std::max(1L, n);
}

// The data set is built by a second instance of this program. Empty when it
// was; otherwise what went wrong.
std::string SeedInChild(const Case& c, long n) {
    DWORD code = 0;
    if (!RunAndWait(ProgramPath(), Format("seed %s %ld", c.name, n), ProgramFolder(),
                    30 * 60 * 1000, code)) {
        return Format("the seeding process did not start or end (error %lu)", ::GetLastError());
    }
    return code == 0 ? std::string() : Format("seeding ended with Win32 error %lu", code);
}

// One retry: a data set that cannot be built twice in a row is a real fault.
bool Seed(const Case& c, long n) {
    std::string why = SeedInChild(c, n);
    if (!why.empty()) {
        Say(Format("bench: %s note: %s; seeding again", c.name, why.c_str()));
        why = SeedInChild(c, n);
    }
    if (!why.empty()) Say(Format("bench: %s FAILED: n=%ld: %s", c.name, n, why.c_str()));
    return why.empty();
}

std::string Joined(const std::vector<double>& samples) {
    std::string text;
    for (double ms : samples) text += Format("%s%.1f", text.empty() ? "" : ",", ms);
    return text;
}

int Measure(const Case& c, long n, int reps, bool showSamples) {
    Context ctx;
    if (c.prepare) c.prepare(ctx, n);
    if (!ctx.problem.empty()) {
        Say(Format("bench: %s FAILED: %s", c.name, ctx.problem.c_str()));
        return 1;
    }
    if (c.sizeIsRuns) reps = static_cast<int>(n);

    std::vector<double> wash, limit;
    bool ok = true;
    for (int r = 0; r < reps; ++r) {
        // Each repetition swaps which side goes first, so drift hits both.
        for (int side = 0; side < 2; ++side) {
            const bool isWash = (side == 0) == (r % 2 == 0);
            const char* who = isWash ? "wash" : "limit";
            if (c.seed && !Seed(c, n)) return 1;
            // The seeding process's exit and the write-back of its data go on
            // after it ends; measured at small sizes, they are not the wash's.
            if (c.seed) ::Sleep(kSettleMs);
            const double start = NowMs();
            (isWash ? c.wash : c.limit)(ctx, n);
            const double ms = NowMs() - start;
            (isWash ? wash : limit).push_back(ms);

            std::string left = c.leftover ? c.leftover(n) : std::string();
            if (!ctx.problem.empty()) left = ctx.problem;
            ctx.problem.clear();
            if (!left.empty()) {
                Say(Format("bench: %s WARNING: the %s left work undone: %s", c.name, who,
                           left.c_str()));
                ok = false;
            }
        }
    }

    const double washMs = Median(wash);
    const double limitMs = Median(limit);
    Say(Format("bench: %s n=%ld wash_ms=%.2f limit_ms=%.2f ratio=%.3f", c.name, n, washMs, limitMs,
               limitMs > 0 ? washMs / limitMs : 0.0));
    if (showSamples) {
        Say(Format("samples: %s wash_ms=%s limit_ms=%s", c.name, Joined(wash).c_str(),
                   Joined(limit).c_str()));
    }
    if (c.megabytes) {
        const double mb = c.megabytes(n);
        Say(Format("bench: %s wash_mb_s=%.1f limit_mb_s=%.1f", c.name, mb * 1000.0 / washMs,
                   mb * 1000.0 / limitMs));
    }
    Say(Format("peak: %s n=%ld peak_working_set_kib=%llu", c.name, n,
               static_cast<unsigned long long>(PeakWorkingSetKib())));
    return ok ? 0 : 1;
}

int Main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "seed") == 0) {
        const Case* c = FindCase(argv[2]);
        if (!c || !c->seed) return 1;
        // The failed step's error tells the measuring process what went wrong.
        return c->seed(std::atol(argv[3])) ? 0
                                           : static_cast<int>(std::max<DWORD>(1, ::GetLastError()));
    }
    if (argc < 2) return Usage();
    const Case* c = FindCase(argv[1]);
    if (!c) return Usage();
    long n = c->defaultN;
    int reps = c->defaultReps;
    bool showSamples = false;
    for (int i = 2; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--n") == 0 && hasValue) {
            n = std::atol(argv[++i]);
        } else if (std::strcmp(argv[i], "--reps") == 0 && hasValue) {
            reps = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--samples") == 0) {
            showSamples = true;
        } else {
            return Usage();
        }
    }
    return Measure(*c, Normalized(*c, n), reps, showSamples);
}

}  // namespace

}  // namespace vw::bench

int main(int argc, char** argv) {
    return vw::bench::Main(argc, argv);
}
