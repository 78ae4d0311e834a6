#include "preview/preview_web.h"

#include "platform/run_error.h"

namespace vw::preview {

namespace {

class CacheWalkLess : public CacheWalk {
  public:
    CacheWalkLess(std::unique_ptr<CacheWalk> real, const std::set<std::string>& deleted)
        : real_(std::move(real)), deleted_(deleted) {}

    bool Next(CacheEntry& entry) override {
        while (real_->Next(entry)) {
            if (!deleted_.count(entry.url)) return true;
        }
        return false;
    }

  private:
    std::unique_ptr<CacheWalk> real_;
    const std::set<std::string>& deleted_;
};

class HistoryWalkLess : public HistoryWalk {
  public:
    HistoryWalkLess(std::unique_ptr<HistoryWalk> real, const std::set<std::string>& deleted,
                    bool cleared)
        : real_(std::move(real)), deleted_(deleted), cleared_(cleared) {}

    bool Next(HistoryEntry& entry) override {
        while (!cleared_ && real_->Next(entry)) {
            if (!deleted_.count(entry.url)) return true;
        }
        return false;
    }

  private:
    std::unique_ptr<HistoryWalk> real_;
    const std::set<std::string>& deleted_;
    bool cleared_;
};

}  // namespace

std::unique_ptr<CacheWalk> PreviewUrlCache::Walk() {
    return std::make_unique<CacheWalkLess>(real_.Walk(), deleted_);
}

bool PreviewUrlCache::DeleteEntry(const std::string& url) {
    if (!deleted_.insert(url).second) return false;
    log_.Record(action::kDeleteCacheEntry, url);
    return true;
}

class PreviewUrlHistory::Store : public HistoryStore {
  public:
    Store(std::unique_ptr<HistoryStore> real, PreviewUrlHistory& owner)
        : real_(std::move(real)), owner_(owner) {}

    void AddUrl(const std::string& url, const std::string&, std::uint32_t) override {
        owner_.log_.Record(action::kAddHistoryEntry, url);
    }
    void DeleteUrl(const std::string& url, std::uint32_t) override {
        owner_.log_.Record(action::kDeleteHistoryEntry, url);
        owner_.deleted_.insert(url);
    }
    void ClearHistory() override {
        // The entries it would take, counted when the store lists them.
        std::optional<std::uint64_t> count;
        ResumeNext([&] {
            std::uint64_t n = 0;
            HistoryEntry entry;
            for (auto walk = EnumUrls(std::nullopt, 0); walk->Next(entry);) ++n;
            count = n;
        });
        owner_.log_.Record(action::kClearHistory, "URL history").count = count;
        owner_.cleared_ = true;
    }
    std::unique_ptr<HistoryWalk> EnumUrls(const std::optional<std::string>& urlStartsWith,
                                          std::uint32_t flags) override {
        return std::make_unique<HistoryWalkLess>(real_->EnumUrls(urlStartsWith, flags),
                                                 owner_.deleted_, owner_.cleared_);
    }

  private:
    std::unique_ptr<HistoryStore> real_;
    PreviewUrlHistory& owner_;
};

std::unique_ptr<HistoryStore> PreviewUrlHistory::OpenStore() {
    return std::make_unique<Store>(real_.OpenStore(), *this);
}

}  // namespace vw::preview
