#include "washers/ie/url_history.h"

#include <cstdio>

#include "platform/run_error.h"

namespace vw {
namespace {

void Check(HResult result, const char* call) {
    if (result >= 0) return;
    char text[64];
    std::snprintf(text, sizeof text, "Automation error 0x%08X in %s", static_cast<unsigned>(result),
                  call);
    throw RunError(result, text);
}

}  // namespace

URLHistoryItem::~URLHistoryItem() {
    history_.CoTaskMemFree(record_.pwcsTitle);
    history_.CoTaskMemFree(record_.pwcsUrl);
}

void URLHistoryItem::Init(const StatUrl& record) {
    record_ = record;
}

double URLHistoryItem::LastVisited() const {
    return LocalDate(record_.ftLastVisited);
}
double URLHistoryItem::Expires() const {
    return LocalDate(record_.ftExpires);
}
double URLHistoryItem::LastUpdated() const {
    return LocalDate(record_.ftLastUpdated);
}
std::u16string URLHistoryItem::URL() const {
    return PtrToWideString(record_.pwcsUrl);
}
std::int32_t URLHistoryItem::Flags() const {
    return static_cast<std::int32_t>(record_.dwFlags);
}
std::u16string URLHistoryItem::Title() const {
    return PtrToWideString(record_.pwcsTitle);
}

std::u16string URLHistoryItem::PtrToWideString(const char16_t* address) {
    return address ? std::u16string(address) : std::u16string();
}

double URLHistoryItem::LocalDate(const FileTime& utc) const {
    // A working copy: the stored record never changes, so reads agree.
    FileTime working = utc;
    FileTime local{};
    if (history_.FileTimeToLocalFileTime(working, local)) working = local;
    SystemTime st{};
    double date = 0;
    if (!history_.FileTimeToSystemTime(working, st) ||
        !history_.SystemTimeToVariantTime(st, date)) {
        return 0;
    }
    return date;
}

CURLHistory::CURLHistory(Platform& platform) : history_(platform.urlHistory) {
    Check(history_.CreateUrlHistoryStg(store_), "CoCreateInstance");
    Refresh();
}

CURLHistory::~CURLHistory() {
    // The store goes before the items: freeing their strings needs only the
    // task allocator.
    store_.reset();
}

void CURLHistory::AddURL(const std::u16string& url, const std::u16string& title,
                         std::int32_t flags) {
    Check(store_->AddUrl(url.c_str(), title.c_str(), static_cast<std::uint32_t>(flags)), "AddUrl");
}

void CURLHistory::Clear() {
    Check(store_->ClearHistory(), "ClearHistory");
    Refresh();
}

void CURLHistory::Refresh(const std::optional<std::u16string>& urlStartsWith, std::int32_t flags) {
    std::unique_ptr<UrlHistoryEnum> enumerator;
    Check(store_->EnumUrls(enumerator), "EnumUrls");
    Check(enumerator->SetFilter(urlStartsWith ? urlStartsWith->c_str() : nullptr,
                                static_cast<std::uint32_t>(flags)),
          "SetFilter");
    items_.clear();

    // Zeroed once: cbSize stays as the enumerator leaves it.
    StatUrl record{};
    for (;;) {
        // Made before the fetch so that fetched strings have an owner at once.
        auto item = std::make_unique<URLHistoryItem>(history_);
        std::uint32_t fetched = 0;
        Check(enumerator->Next(1, &record, &fetched), "Next");
        if (fetched == 0) break;
        item->Init(record);
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
    const URLHistoryItem& item = Item(index);
    Check(store_->DeleteUrl(item.URL().c_str(), 0), "DeleteUrl");
    items_.erase(items_.begin() + (index - 1));
}

void CURLHistory::DeleteURL(const std::u16string& url, std::int32_t flags) {
    Check(store_->DeleteUrl(url.c_str(), static_cast<std::uint32_t>(flags)), "DeleteUrl");
    Refresh();
}

}  // namespace vw
