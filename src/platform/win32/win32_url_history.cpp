#include "platform/win32/win32_url_history.h"

#include <windows.h>
// Need the definitions of <windows.h> before them.
#include <oleauto.h>
#include <urlhist.h>
#include <wrl/client.h>

#include <cstdio>
#include <utility>

#include "platform/run_error.h"
#include "platform/win32/wide.h"
#include "text/utf8.h"

namespace vw::win32 {
namespace {

using Microsoft::WRL::ComPtr;

// {3C374A40-BAE4-11CF-BF7D-00AA006946EE}; mingw-w64's headers do not declare it.
constexpr CLSID kClsidCUrlHistory = {
    0x3c374a40, 0xbae4, 0x11cf, {0xbf, 0x7d, 0x00, 0xaa, 0x00, 0x69, 0x46, 0xee}};

static_assert(staturl::kIsCached == STATURLFLAG_ISCACHED &&
              staturl::kIsTopLevel == STATURLFLAG_ISTOPLEVEL &&
              staturl::kQueryIsCached == STATURL_QUERYFLAG_ISCACHED &&
              staturl::kQueryTopLevel == STATURL_QUERYFLAG_TOPLEVEL);

// Raises the store's failure as the run-time error it is.
void Check(HRESULT result, const char* call) {
    if (SUCCEEDED(result)) return;
    char text[64];
    std::snprintf(text, sizeof text, "Automation error 0x%08X in %s", static_cast<unsigned>(result),
                  call);
    throw RunError(result, text);
}

// A string for the store; text that is no UTF-8, or holds a NUL, names nothing
// the store could hold.
std::wstring Wide(const std::string& utf8, const char* call) {
    std::wstring wide;
    if (!ToWide(utf8, wide)) Check(E_INVALIDARG, call);
    return wide;
}

// The NUL-terminated UTF-16 text at `address`, as UTF-8; null gives "".
std::string PtrToWideString(const wchar_t* address) {
    if (!address) return {};
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(address)));
}

FileTime FromNative(const FILETIME& time) {
    return {time.dwLowDateTime, time.dwHighDateTime};
}

// A string the store allocated with the COM task allocator.
struct TaskString {
    ~TaskString() { ::CoTaskMemFree(text); }
    LPWSTR text;
};

// COM ready on this thread while the object lives. A thread already in the
// multithreaded apartment keeps it and owes no CoUninitialize.
class ComApartment {
  public:
    ComApartment() : result_(::CoInitialize(nullptr)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    HRESULT result_;
};

class Win32HistoryWalk final : public HistoryWalk {
  public:
    explicit Win32HistoryWalk(ComPtr<IEnumSTATURL> walk) : walk_(std::move(walk)) {}

    bool Next(HistoryEntry& entry) override {
        ULONG fetched = 0;
        const HRESULT hr = walk_->Next(1, &record_, &fetched);
        if (fetched == 0) {
            Check(hr, "Next");
            return false;
        }
        // The record's strings are ours from here on, whatever happens next.
        const TaskString title{std::exchange(record_.pwcsTitle, nullptr)};
        const TaskString url{std::exchange(record_.pwcsUrl, nullptr)};
        Check(hr, "Next");
        entry.url = PtrToWideString(url.text);
        entry.title = PtrToWideString(title.text);
        entry.lastVisited = FromNative(record_.ftLastVisited);
        entry.lastUpdated = FromNative(record_.ftLastUpdated);
        entry.expires = FromNative(record_.ftExpires);
        entry.flags = record_.dwFlags;
        return true;
    }

  private:
    ComApartment apartment_;  // declared first: outlives the pointer
    ComPtr<IEnumSTATURL> walk_;
    // Zeroed once, size included: the store sees the record as it left it.
    STATURL record_{};
};

class Win32HistoryStore final : public HistoryStore {
  public:
    Win32HistoryStore() {
        Check(::CoCreateInstance(kClsidCUrlHistory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_PPV_ARGS(&store_)),
              "CoCreateInstance");
    }

    void AddUrl(const std::string& url, const std::string& title, std::uint32_t flags) override {
        Check(store_->AddUrl(Wide(url, "AddUrl").c_str(), Wide(title, "AddUrl").c_str(), flags),
              "AddUrl");
    }
    void DeleteUrl(const std::string& url, std::uint32_t flags) override {
        Check(store_->DeleteUrl(Wide(url, "DeleteUrl").c_str(), flags), "DeleteUrl");
    }
    void ClearHistory() override { Check(store_->ClearHistory(), "ClearHistory"); }
    std::unique_ptr<HistoryWalk> EnumUrls(const std::optional<std::string>& urlStartsWith,
                                          std::uint32_t flags) override {
        ComPtr<IEnumSTATURL> walk;
        Check(store_->EnumUrls(&walk), "EnumUrls");
        const std::wstring prefix = urlStartsWith ? Wide(*urlStartsWith, "SetFilter") : L"";
        Check(walk->SetFilter(urlStartsWith ? prefix.c_str() : nullptr, flags), "SetFilter");
        return std::make_unique<Win32HistoryWalk>(std::move(walk));
    }

  private:
    ComApartment apartment_;  // declared first: outlives the pointer
    ComPtr<IUrlHistoryStg2> store_;
};

}  // namespace

std::unique_ptr<HistoryStore> Win32UrlHistory::OpenStore() {
    return std::make_unique<Win32HistoryStore>();
}

double Win32UrlHistory::LocalDate(const FileTime& utc) {
    // The working copy stays in UTC when the local conversion fails.
    FILETIME working{utc.dwLowDateTime, utc.dwHighDateTime};
    FILETIME local{};
    if (::FileTimeToLocalFileTime(&working, &local)) working = local;
    SYSTEMTIME st{};
    double date = 0;
    if (!::FileTimeToSystemTime(&working, &st) || !::SystemTimeToVariantTime(&st, &date)) return 0;
    return date;
}

}  // namespace vw::win32
