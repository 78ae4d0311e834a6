// What the wash table cannot stage: a window the system refuses, and a
// fault that is no run-time failure.

#include "startup/main.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/sim_run.h"

namespace vw {
namespace {

TEST(MainTest, RefusedWindowOrAFaultEndsTheProgramQuietly) {
    test::SimMachine m;
    m.UseIni("[Standard Options]\r\nDocumentHistory=1\r\n");
    m.sim.faults.FailOn("CreateHiddenWindow", errnum::kOutOfMemory);
    Main(m.sim.platform());
    EXPECT_TRUE(m.sim.ui.windows.empty());
    EXPECT_EQ(m.JournalCount("clear recent documents"), 0u);

    // The Recycle Bin washer resumes after run-time failures; a bug is none.
    struct BrokenShell : Shell {
        void ClearRecentDocuments() override {}
        long EmptyRecycleBin(const std::string&, std::uint32_t) override {
            throw std::logic_error("bug");
        }
    } broken;
    test::SimMachine b;
    b.UseIni("[Standard Options]\r\nRunHistory=1\r\nRecycleBin=1\r\n");
    Platform p = b.sim.platform();
    Platform withBrokenShell{p.profile, broken,     p.process,  p.files,
                             p.ui,      p.registry, p.urlCache, p.urlHistory};
    Main(withBrokenShell);
    EXPECT_FLOAT_EQ(b.sim.ui.windows.at(0)->progress, 27.0f);
    EXPECT_EQ(b.sim.journal.back(), "unload");
    EXPECT_TRUE(b.sim.ui.boxes.empty());
}

TEST(MainTest, ResumeNextDropsRunTimeFailuresOnly) {
    ResumeNext([] { throw RunError(errnum::kPathFileAccessError, "Path/File access error"); });
    EXPECT_THROW(ResumeNext([] { throw std::logic_error("bug"); }), std::logic_error);
}

}  // namespace
}  // namespace vw
