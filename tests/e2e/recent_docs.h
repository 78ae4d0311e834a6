#pragma once

#include <string>

namespace vw::e2e {

// HKCU\...\Explorer\RecentDocs seeded with a value and, unless asked not
// to, a per-type subkey (".txt") holding one, the shape the shell leaves;
// removed on destruction.
class SeededRecentDocs {
  public:
    explicit SeededRecentDocs(bool withTypeSubkey = true);
    ~SeededRecentDocs();
    SeededRecentDocs(const SeededRecentDocs&) = delete;
    SeededRecentDocs& operator=(const SeededRecentDocs&) = delete;

    bool Planted() const { return planted_; }
    // The key itself, whatever it holds.
    bool KeyExists() const;
    // The key with every seeded value unchanged.
    bool Intact() const;

  private:
    bool withTypeSubkey_;
    bool planted_ = false;
};

}  // namespace vw::e2e
