#pragma once

#include <set>
#include <string>

#include "platform/url_cache.h"
#include "platform/url_history.h"
#include "preview/change_log.h"

namespace vw::preview {

// The URL cache: walks see the real entries less those deleted so far; a
// deletion is recorded and taken for granted (an entry in use is the one
// thing the cache tells only when asked to delete).
class PreviewUrlCache : public UrlCache {
  public:
    PreviewUrlCache(UrlCache& real, ChangeLog& log) : real_(real), log_(log) {}

    std::unique_ptr<CacheWalk> Walk() override;
    bool DeleteEntry(const std::string& url) override;

  private:
    UrlCache& real_;
    ChangeLog& log_;
    std::set<std::string> deleted_;
};

// The URL history store: the real store is opened and read; clearing and
// deleting are recorded, and later walks see them. The store's failures
// raise as the real store's do, for every call that reads it.
class PreviewUrlHistory : public UrlHistory {
  public:
    PreviewUrlHistory(UrlHistory& real, ChangeLog& log) : real_(real), log_(log) {}

    std::unique_ptr<HistoryStore> OpenStore() override;
    double LocalDate(const FileTime& utc) override { return real_.LocalDate(utc); }

  private:
    class Store;

    UrlHistory& real_;
    ChangeLog& log_;
    bool cleared_ = false;
    std::set<std::string> deleted_;
};

}  // namespace vw::preview
