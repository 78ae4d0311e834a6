#include "platform/win32/win32_url_history.h"

#include <windows.h>
// Need the definitions of <windows.h> before them.
#include <oleauto.h>
#include <urlhist.h>
#include <wrl/client.h>

#include <cstddef>
#include <memory>
#include <utility>

namespace vw::win32 {
namespace {

using Microsoft::WRL::ComPtr;

// {3C374A40-BAE4-11CF-BF7D-00AA006946EE}; mingw-w64's headers do not declare it.
constexpr CLSID kClsidCUrlHistory = {
    0x3c374a40, 0xbae4, 0x11cf, {0xbf, 0x7d, 0x00, 0xaa, 0x00, 0x69, 0x46, 0xee}};

// The core reads records and times through its own declarations.
static_assert(sizeof(char16_t) == sizeof(WCHAR));
static_assert(sizeof(StatUrl) == sizeof(STATURL));
static_assert(offsetof(StatUrl, pwcsUrl) == offsetof(STATURL, pwcsUrl));
static_assert(offsetof(StatUrl, pwcsTitle) == offsetof(STATURL, pwcsTitle));
static_assert(offsetof(StatUrl, ftLastVisited) == offsetof(STATURL, ftLastVisited));
static_assert(offsetof(StatUrl, ftLastUpdated) == offsetof(STATURL, ftLastUpdated));
static_assert(offsetof(StatUrl, ftExpires) == offsetof(STATURL, ftExpires));
static_assert(offsetof(StatUrl, dwFlags) == offsetof(STATURL, dwFlags));
static_assert(sizeof(FileTime) == sizeof(FILETIME) && sizeof(SystemTime) == sizeof(SYSTEMTIME));

const WCHAR* Wide(const char16_t* text) {
    return reinterpret_cast<const WCHAR*>(text);
}
const FILETIME* Native(const FileTime* time) {
    return reinterpret_cast<const FILETIME*>(time);
}

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

class Win32UrlHistoryEnum final : public UrlHistoryEnum {
  public:
    explicit Win32UrlHistoryEnum(ComPtr<IEnumSTATURL> enumerator)
        : enumerator_(std::move(enumerator)) {}

    HResult Next(std::uint32_t celt, StatUrl* rgelt, std::uint32_t* pceltFetched) override {
        ULONG fetched = 0;
        const HRESULT hr = enumerator_->Next(celt, reinterpret_cast<STATURL*>(rgelt), &fetched);
        if (pceltFetched) *pceltFetched = fetched;
        return hr;
    }
    HResult SetFilter(const char16_t* poszFilter, std::uint32_t dwFlags) override {
        return enumerator_->SetFilter(Wide(poszFilter), dwFlags);
    }

  private:
    ComApartment apartment_;  // declared first: outlives the pointer
    ComPtr<IEnumSTATURL> enumerator_;
};

class Win32UrlHistoryStg final : public UrlHistoryStg {
  public:
    HRESULT Create() {
        return ::CoCreateInstance(kClsidCUrlHistory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&store_));
    }

    HResult AddUrl(const char16_t* pocsUrl, const char16_t* pocsTitle,
                   std::uint32_t dwFlags) override {
        return store_->AddUrl(Wide(pocsUrl), Wide(pocsTitle), dwFlags);
    }
    HResult DeleteUrl(const char16_t* pocsUrl, std::uint32_t dwFlags) override {
        return store_->DeleteUrl(Wide(pocsUrl), dwFlags);
    }
    HResult EnumUrls(std::unique_ptr<UrlHistoryEnum>& enumerator) override {
        ComPtr<IEnumSTATURL> native;
        const HRESULT hr = store_->EnumUrls(&native);
        if (SUCCEEDED(hr)) enumerator = std::make_unique<Win32UrlHistoryEnum>(std::move(native));
        return hr;
    }
    HResult ClearHistory() override { return store_->ClearHistory(); }

  private:
    ComApartment apartment_;  // declared first: outlives the pointer
    ComPtr<IUrlHistoryStg2> store_;
};

}  // namespace

HResult Win32UrlHistory::CreateUrlHistoryStg(std::unique_ptr<UrlHistoryStg>& store) {
    auto created = std::make_unique<Win32UrlHistoryStg>();
    const HRESULT hr = created->Create();
    if (SUCCEEDED(hr)) store = std::move(created);
    return hr;
}

void Win32UrlHistory::CoTaskMemFree(void* block) {
    ::CoTaskMemFree(block);
}

bool Win32UrlHistory::FileTimeToLocalFileTime(const FileTime& fileTime, FileTime& localFileTime) {
    FILETIME local{};
    if (!::FileTimeToLocalFileTime(Native(&fileTime), &local)) return false;
    localFileTime = {local.dwLowDateTime, local.dwHighDateTime};
    return true;
}

bool Win32UrlHistory::FileTimeToSystemTime(const FileTime& fileTime, SystemTime& systemTime) {
    SYSTEMTIME st{};
    if (!::FileTimeToSystemTime(Native(&fileTime), &st)) return false;
    systemTime = {st.wYear, st.wMonth,  st.wDayOfWeek, st.wDay,
                  st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
    return true;
}

bool Win32UrlHistory::SystemTimeToVariantTime(const SystemTime& systemTime, double& variantTime) {
    SYSTEMTIME st = {systemTime.wYear,   systemTime.wMonth,       systemTime.wDayOfWeek,
                     systemTime.wDay,    systemTime.wHour,        systemTime.wMinute,
                     systemTime.wSecond, systemTime.wMilliseconds};
    double date = 0;
    if (!::SystemTimeToVariantTime(&st, &date)) return false;
    variantTime = date;
    return true;
}

}  // namespace vw::win32
