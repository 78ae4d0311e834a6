#pragma once

#include <cstdint>
#include <string>

namespace vw::win32::test {

// A fresh folder under the temp folder, removed with all it holds (whatever
// the attributes) when the object goes.
class ScopedTempFolder {
  public:
    ScopedTempFolder();
    ~ScopedTempFolder();
    ScopedTempFolder(const ScopedTempFolder&) = delete;
    ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;

    // Full path, without a trailing "\".
    const std::string& Path() const { return path_; }

    // Creates the file `name` (relative) with `bytes` and then `attributes`;
    // returns its full path. Fails the test on error.
    std::string WriteFile(const std::string& name, const std::string& bytes,
                          std::uint32_t attributes = 0);

  private:
    std::string path_;
};

}  // namespace vw::win32::test
