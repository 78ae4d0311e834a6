// The preview against the wash it foretells: the Temp data set, previewed
// (the "wash" side) and then washed for real (the "limit" side).
#include "bench.h"
#include "preview/preview_platform.h"

namespace vw::bench {

namespace {

// kTempCase lives in another file: reached at run time, never at start-up.
bool SeedTemp(long n) {
    return kTempCase.seed(n);
}

void PrepareTemp(Context& ctx, long n) {
    kTempCase.prepare(ctx, n);
}

void PreviewTemp(Context& ctx, long n) {
    // A fresh overlay each run: one run's held-back deletions must not be
    // the next one's state. Its hidden window is made inside the timing.
    preview::ChangeLog log;
    preview::PreviewPlatform overlay(ctx.platform(), log);
    frmWash(overlay.Get()).WashTempFiles();
    if (log.Changes().empty()) ctx.problem = "the preview found nothing to remove";
    if (kTempCase.leftover(n).empty()) ctx.problem = "the preview removed the data set";
}

void WashTemp(Context& ctx, long n) {
    ctx.Form().WashTempFiles();
    const std::string left = kTempCase.leftover(n);
    if (!left.empty()) ctx.problem = left;
}

}  // namespace

const Case kPreviewCase = [] {
    Case c;
    c.name = "preview";
    c.defaultN = 20000;
    c.defaultReps = 5;
    c.seed = SeedTemp;
    c.prepare = PrepareTemp;
    c.wash = PreviewTemp;
    c.limit = WashTemp;
    return c;
}();

}  // namespace vw::bench
