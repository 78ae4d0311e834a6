#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/win32_error.h"

namespace vw::win32 {

namespace {

class FindListing final : public RawListing {
  public:
    explicit FindListing(const std::string& pattern) {
        find_.reset(::FindFirstFileA(pattern.c_str(), &data_));
        pending_ = static_cast<bool>(find_);
    }

    bool Next(DirEntry& entry) override {
        if (!pending_) {
            if (!find_ || !::FindNextFileA(find_.get(), &data_)) {
                find_.reset();  // released as soon as the enumeration ends
                return false;
            }
        }
        pending_ = false;
        entry.name = data_.cFileName;
        entry.attributes = data_.dwFileAttributes;
        return true;
    }

  private:
    UniqueFindHandle find_;
    WIN32_FIND_DATAA data_{};
    bool pending_ = false;  // data_ holds an entry not handed out yet
};

}  // namespace

std::unique_ptr<RawListing> Win32FileSystem::Enumerate(const std::string& pattern) {
    // FindFirstFileA refuses a pattern ending in "\"; such a pattern names a
    // folder whose whole content is meant.
    if (!pattern.empty() && pattern.back() == '\\') {
        return std::make_unique<FindListing>(pattern + "*");
    }
    return std::make_unique<FindListing>(pattern);
}

void Win32FileSystem::DeleteFileA(const std::string& path) {
    if (!::DeleteFileA(path.c_str())) RaiseFileError(::GetLastError());
}

}  // namespace vw::win32
