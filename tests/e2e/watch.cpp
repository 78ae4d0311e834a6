#include "watch.h"

#include "message_box.h"

namespace vw::e2e {

Watched WatchUntilExit(Scenario& run, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    Watched watched;
    for (;;) {
        watched.exitCode = run.Wait(20);
        if (watched.exitCode) return watched;
        if (!BoxesOf(run.Pid()).empty()) {
            watched.boxShown = true;
            return watched;
        }
        if (GetTickCount64() >= deadline) return watched;
    }
}

}  // namespace vw::e2e
