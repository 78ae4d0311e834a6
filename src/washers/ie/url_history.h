#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vw {

// One entry of the URL history, read-only once filled.
class URLHistoryItem {
  public:
    // Empty until CURLHistory fills it.
    explicit URLHistoryItem(UrlHistory& history) : history_(history) {}
    URLHistoryItem(const URLHistoryItem&) = delete;
    URLHistoryItem& operator=(const URLHistoryItem&) = delete;

    // OLE Automation dates in local time; the zero date when a time has no
    // date. Every read converts the stored UTC time afresh.
    double LastVisited() const { return history_.LocalDate(entry_.lastVisited); }
    double Expires() const { return history_.LocalDate(entry_.expires); }
    double LastUpdated() const { return history_.LocalDate(entry_.lastUpdated); }
    std::string URL() const { return entry_.url; }
    std::int32_t Flags() const { return static_cast<std::int32_t>(entry_.flags); }
    // The empty text when the page had no title.
    std::string Title() const { return entry_.title; }

  private:
    friend class CURLHistory;

    void Init(const HistoryEntry& entry) { entry_ = entry; }

    UrlHistory& history_;
    HistoryEntry entry_;
};

// The system's URL history as an ordered collection of items, counted from 1,
// as of its last re-read. A failing store call raises RunError carrying the
// call's HRESULT and stops the operation there; an index outside 1 to Count
// raises 9.
class CURLHistory {
  public:
    using ItemList = std::vector<std::unique_ptr<URLHistoryItem>>;

    // Connects to the store and reads every entry.
    explicit CURLHistory(Platform& platform);
    CURLHistory(const CURLHistory&) = delete;
    CURLHistory& operator=(const CURLHistory&) = delete;

    // Adds to the store; the list shows it only after the next Refresh.
    void AddURL(const std::string& url, const std::string& title, std::int32_t flags);
    std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
    // Empties the store, then re-reads every entry it still lists.
    void Clear();
    // Re-reads the list as the store's filter lets it through. A failing
    // enumeration keeps the old list; a failing fetch keeps what came before it.
    void Refresh(const std::optional<std::string>& urlStartsWith = std::nullopt,
                 std::int32_t flags = 0);
    // Valid until the list is re-read or the item removed.
    const URLHistoryItem& Item(std::int32_t index) const;
    // Deletes the item's URL from the store and drops it from the list; the
    // items after it move up. The list is not re-read.
    void Remove(std::int32_t index);
    // Deletes from the store, then re-reads every entry (no filter).
    void DeleteURL(const std::string& url, std::int32_t flags);
    // The list's own enumeration: the items in list order.
    const ItemList& NewEnum() const { return items_; }

  private:
    UrlHistory& history_;
    std::unique_ptr<HistoryStore> store_;
    ItemList items_;
};

}  // namespace vw
