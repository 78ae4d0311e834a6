#pragma once

#include <stdexcept>
#include <string>

namespace vw {

// A run-time failure. An operation without error handling of its own lets it
// pass to its caller; the wash run has none, so one that leaves a washer ends
// the run (Main absorbs it).
class RunError : public std::runtime_error {
  public:
    RunError(long number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    long Number() const noexcept { return number_; }

  private:
    long number_;
};

// Error numbers carried by RunError, in the classic run-time numbering the
// system's failure model comes from.
namespace errnum {
constexpr long kInvalidArgument = 5;
constexpr long kOverflow = 6;
constexpr long kOutOfMemory = 7;
constexpr long kSubscriptOutOfRange = 9;
constexpr long kTypeMismatch = 13;
constexpr long kBadFileName = 52;
constexpr long kFileNotFound = 53;
constexpr long kFileAlreadyOpen = 55;
constexpr long kDiskFull = 61;
constexpr long kInputPastEndOfFile = 62;
constexpr long kDeviceUnavailable = 68;
constexpr long kPermissionDenied = 70;
constexpr long kDiskNotReady = 71;
constexpr long kPathFileAccessError = 75;
constexpr long kPathNotFound = 76;
constexpr long kCannotCreateObject = 429;
}  // namespace errnum

// "On failure, resume with the next statement": runs one statement and drops
// a run-time failure raised inside it. An operation with that handling wraps
// each of its statements in one call. Anything else (a bug, a logic error)
// is no run-time failure of the model: it passes on, to end the program
// quietly at Main's top level rather than be skipped.
template <typename Statement>
void ResumeNext(Statement&& statement) {
    try {
        statement();
    } catch (const RunError&) {
        // Dropped on purpose: the caller goes on with its next statement.
    }
}

}  // namespace vw
