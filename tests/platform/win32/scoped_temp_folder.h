#pragma once

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <string>

namespace vw::win32::test {

// A fresh folder under the temp folder, removed with all it holds (read-only
// entries too) when the object goes. The walk does not descend into links.
class ScopedTempFolder {
  public:
    ScopedTempFolder() {
        Remove();  // a leftover of a crashed run
        std::filesystem::create_directories(path_);
    }
    ~ScopedTempFolder() { Remove(); }
    ScopedTempFolder(const ScopedTempFolder&) = delete;
    ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;

    // Full path, without a trailing "\".
    const std::string& Path() const { return path_; }

  private:
    void Remove() {
        std::error_code ec;
        for (std::filesystem::recursive_directory_iterator it(path_, ec), end; !ec && it != end;
             it.increment(ec)) {
            ::SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        std::filesystem::remove_all(path_, ec);
    }

    static inline std::atomic<int> serial_{0};
    std::string path_ =
        (std::filesystem::temp_directory_path() /
         ("vw-win32-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(serial_++)))
            .string();
};

}  // namespace vw::win32::test
