#include "washers/ie/url_history.h"

#include "platform/run_error.h"

namespace vw {

CURLHistory::CURLHistory(Platform& platform)
    : history_(platform.urlHistory), store_(history_.OpenStore()) {
    Refresh();
}

void CURLHistory::AddURL(const std::string& url, const std::string& title, std::int32_t flags) {
    store_->AddUrl(url, title, static_cast<std::uint32_t>(flags));
}

void CURLHistory::Clear() {
    store_->ClearHistory();
    Refresh();
}

void CURLHistory::Refresh(const std::optional<std::string>& urlStartsWith, std::int32_t flags) {
    const std::unique_ptr<HistoryWalk> walk =
        store_->EnumUrls(urlStartsWith, static_cast<std::uint32_t>(flags));
    items_.clear();
    HistoryEntry entry;
    while (walk->Next(entry)) {
        auto item = std::make_unique<URLHistoryItem>(history_);
        item->Init(entry);
        items_.push_back(std::move(item));
    }
}

const URLHistoryItem& CURLHistory::Item(std::int32_t index) const {
    if (index < 1 || index > Count()) {
        throw RunError(errnum::kSubscriptOutOfRange, "Subscript out of range");
    }
    return *items_[static_cast<std::size_t>(index - 1)];
}

void CURLHistory::Remove(std::int32_t index) {
    store_->DeleteUrl(Item(index).URL(), 0);
    items_.erase(items_.begin() + (index - 1));
}

void CURLHistory::DeleteURL(const std::string& url, std::int32_t flags) {
    store_->DeleteUrl(url, static_cast<std::uint32_t>(flags));
    Refresh();
}

}  // namespace vw
