#pragma once

#include <utility>

#include "platform/process.h"
#include "platform/run_error.h"
#include "platform/shell.h"
#include "platform/sim/sim_file_system.h"
#include "text/utf8.h"

namespace vw::sim {

// The current user's recent documents and the Recycle Bin (one for every
// drive, a count of items); every call is journaled.
class SimShell : public Shell {
  public:
    explicit SimShell(Journal& journal) : journal_(journal) {}

    int recycled = 0;
    std::uint64_t recycledBytes = 0;

    void ClearRecentDocuments() override { journal_.push_back("clear recent documents"); }
    long EmptyRecycleBin(const std::string& rootPath, std::uint32_t flags) override {
        journal_.push_back("empty recycle bin \"" + rootPath + "\" " + std::to_string(flags));
        // No drive is spelt otherwise: E_INVALIDARG.
        if (!IsPlatformName(rootPath)) return hresult::kInvalidArg;
        // E_FAIL when the bin was empty already, as the shell gives.
        recycledBytes = 0;
        return std::exchange(recycled, 0) > 0 ? 0 : hresult::kFail;
    }
    RecycleBinCount QueryRecycleBin(const std::string& rootPath) override {
        if (!IsPlatformName(rootPath)) return {hresult::kInvalidArg, 0, 0};
        return {0, static_cast<std::uint64_t>(recycled), recycledBytes};
    }

  private:
    Journal& journal_;
};

// The running program and the programs it starts. A start is journaled
// ("start <path> <show command>"); like the real one it needs the program
// file.
class SimProcess : public Process {
  public:
    SimProcess(SimFileSystem& files, Journal& journal) : files_(files), journal_(journal) {}

    bool anotherInstance = false;
    std::string programFolder = "C:\\Program Files\\Vantrix";
    std::uint32_t started = 0;

    bool AnotherInstanceRunning() override { return anotherInstance; }
    std::string ProgramFolder() override { return programFolder; }
    std::uint32_t StartProgram(const std::string& path, int showCommand) override {
        journal_.push_back("start " + path + " " + std::to_string(showCommand));
        if (!files_.Exists(path)) throw RunError(errnum::kFileNotFound, "File not found");
        if (!files_.IsFile(path)) throw RunError(errnum::kPathFileAccessError, "access error");
        // Ids as a fresh machine hands them out: small, distinct, never 0.
        return 1000 + 4 * ++started;
    }

  private:
    SimFileSystem& files_;
    Journal& journal_;
};

}  // namespace vw::sim
