#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_entry.h"

namespace vw::win32 {

// File services through the wide Win32 file API (see FileSystem for the
// contract): names converted at this edge, long paths prefixed, every
// deletion, attribute change and overwrite made through a handle checked to
// be the entry itself.
class Win32FileSystem final : public FileSystem {
  public:
    std::unique_ptr<RawListing> Enumerate(const std::string& pattern) override;
    void RemoveFile(const std::string& path) override;
    void SetAttributes(const std::string& path, std::uint32_t attributes) override;
    void CreateFolder(const std::string& path) override;
    void RemoveFolder(const std::string& path) override;
    std::unique_ptr<BinaryFile> OpenBinary(const std::string& path) override;
    std::string ReadAll(const std::string& path) override;
    EntryProbe ProbeEntry(const std::string& path) override;
    DriveKind KindOfDrive(const std::string& root) override;
    std::string TempPath() override;
    std::string WindowsFolder() override;
    std::string ProfileFolder() override;
    std::string AnsiToUtf8(std::string_view text) override;

  private:
    // An attribute change is nearly always followed by the deletion of the
    // same file: the checked handle is kept for it, and closed before any
    // other call, so it never stands in another open's way.
    void ClosePending() { pending_.reset(); }

    EntryOpener opener_;
    UniqueFileHandle pending_;
    std::wstring pendingPath_;
};

}  // namespace vw::win32
