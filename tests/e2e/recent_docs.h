#pragma once

#include <string>

namespace vw::e2e {

// HKCU\...\Explorer\RecentDocs seeded with a value and a subkey holding one,
// the shape the shell leaves; removed on destruction.
class SeededRecentDocs {
public:
    SeededRecentDocs();
    ~SeededRecentDocs();
    SeededRecentDocs(const SeededRecentDocs&) = delete;
    SeededRecentDocs& operator=(const SeededRecentDocs&) = delete;

    bool Planted() const { return planted_; }
    // The key itself, whatever it holds.
    bool KeyExists() const;
    // The key with both seeded values unchanged.
    bool Intact() const;

private:
    bool planted_ = false;
};

}  // namespace vw::e2e
