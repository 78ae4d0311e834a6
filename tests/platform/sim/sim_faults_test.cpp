#include "platform/sim/sim_faults.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/contract/file_cases.h"
#include "platform/sim/sim_platform.h"

namespace vw {
namespace {

using contract::ErrorOf;

// A test can stage only what the real backend could do: a query that never
// raises cannot be made to, nor a call raise a number it never raises.
TEST(SimFaultsTest, FileCallsArmOnlyWhatTheRealCallsRaise) {
    sim::SimPlatform sim;
    const struct {
        const char* call;
        long number;
    } refused[] = {
        {"KindOfDrive", errnum::kDeviceUnavailable},
        {"TempPath", errnum::kPathFileAccessError},
        {"WindowsFolder", errnum::kPathNotFound},
        {"ProfileFolder", errnum::kPathNotFound},
        {"RemoveFile", errnum::kDiskFull},
        {"Enumerate", errnum::kPathNotFound},
        {"Flush", errnum::kFileNotFound},
    };
    for (const auto& r : refused) {
        EXPECT_THROW(sim.faults.FailOn(r.call, r.number), std::invalid_argument) << r.call;
    }

    // An access list refuses the second deletion; the first and third go.
    sim.files.AddFile("C:\\t\\a");
    sim.files.AddFile("C:\\t\\b");
    sim.files.AddFile("C:\\t\\c");
    sim.faults.FailOn("RemoveFile", errnum::kPathFileAccessError, 2);
    for (const char* name : {"a", "b", "c"}) {
        const long expected = *name == 'b' ? errnum::kPathFileAccessError : 0;
        EXPECT_EQ(ErrorOf([&] { sim.files.RemoveFile(std::string("C:\\t\\") + name); }), expected);
    }
    EXPECT_TRUE(sim.files.Exists("C:\\t\\b"));
    EXPECT_EQ(ErrorOf([&] { sim.files.RemoveFile("C:\\t\\b"); }), 0) << "once only";
}

}  // namespace
}  // namespace vw
