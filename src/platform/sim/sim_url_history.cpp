#include "platform/sim/sim_url_history.h"

#include <algorithm>
#include <stdexcept>

#include "platform/run_error.h"

namespace vw::sim {
namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kSecondsPerDay = 86'400;
// Days from 1 January 1970 back to the FILETIME and variant time epochs.
constexpr std::int64_t kFileTimeEpochDays = -134'774;  // 1 January 1601
constexpr std::int64_t kVariantEpochDays = -25'569;    // 30 December 1899

// Proleptic Gregorian calendar, counted in days since 1 January 1970.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146'097 + static_cast<std::int64_t>(doe) - 719'468;
}

void CivilFromDays(std::int64_t z, SystemTime& st) {
    z += 719'468;
    const std::int64_t era = (z >= 0 ? z : z - 146'096) / 146'097;
    const auto doe = static_cast<unsigned>(z - era * 146'097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36'524 - doe / 146'096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    st.wDay = static_cast<std::uint16_t>(doy - (153 * mp + 2) / 5 + 1);
    st.wMonth = static_cast<std::uint16_t>(mp < 10 ? mp + 3 : mp - 9);
    st.wYear =
        static_cast<std::uint16_t>(static_cast<std::int64_t>(yoe) + era * 400 + (st.wMonth <= 2));
}

bool LeapYear(unsigned y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

unsigned DaysInMonth(unsigned y, unsigned m) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && LeapYear(y) ? 29 : kDays[m - 1];
}

std::uint64_t Ticks(const FileTime& ft) {
    return (std::uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
}

std::string Narrow(const char16_t* text) {
    if (!text) return "null";
    std::string out;
    for (; *text; ++text) out += *text < 0x80 ? static_cast<char>(*text) : '?';
    return out;
}

}  // namespace

// One store object over the shared history.
class SimUrlHistory::Store : public UrlHistoryStg {
  public:
    explicit Store(SimUrlHistory& history) : history_(history) { ++history_.liveStores_; }
    ~Store() override { --history_.liveStores_; }
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    HResult AddUrl(const char16_t* pocsUrl, const char16_t* pocsTitle,
                   std::uint32_t dwFlags) override;
    HResult DeleteUrl(const char16_t* pocsUrl, std::uint32_t dwFlags) override;
    HResult EnumUrls(std::unique_ptr<UrlHistoryEnum>& enumerator) override;
    HResult ClearHistory() override;

  private:
    SimUrlHistory& history_;
};

// A walk over the entries as they were when it began.
class SimUrlHistory::Enumerator : public UrlHistoryEnum {
  public:
    explicit Enumerator(SimUrlHistory& history) : history_(history), entries_(history.entries) {
        ++history_.liveEnumerators_;
    }
    ~Enumerator() override { --history_.liveEnumerators_; }
    Enumerator(const Enumerator&) = delete;
    Enumerator& operator=(const Enumerator&) = delete;

    HResult Next(std::uint32_t celt, StatUrl* rgelt, std::uint32_t* pceltFetched) override {
        history_.Log("Next");
        if (const HResult hr = history_.Armed("Next")) return hr;
        std::uint32_t fetched = 0;
        for (; fetched < celt && next_ < entries_.size(); ++next_) {
            const Entry& e = entries_[next_];
            if (e.url.compare(0, prefix_.size(), prefix_) != 0) continue;
            StatUrl& out = rgelt[fetched++];
            out.pwcsUrl = history_.TaskString(e.url);
            out.pwcsTitle = e.title ? history_.TaskString(*e.title) : nullptr;
            out.ftLastVisited = e.lastVisited;
            out.ftLastUpdated = e.lastUpdated;
            out.ftExpires = e.expires;
            out.dwFlags = e.flags;
        }
        if (pceltFetched) *pceltFetched = fetched;
        return fetched == celt ? hresult::kOk : hresult::kFalse;
    }

    HResult SetFilter(const char16_t* poszFilter, std::uint32_t dwFlags) override {
        history_.Log("SetFilter " + std::to_string(dwFlags), poszFilter);
        if (const HResult hr = history_.Armed("SetFilter")) return hr;
        prefix_ = poszFilter ? poszFilter : u"";
        return hresult::kOk;
    }

  private:
    SimUrlHistory& history_;
    std::vector<Entry> entries_;
    std::size_t next_ = 0;
    std::u16string prefix_;
};

HResult SimUrlHistory::Store::AddUrl(const char16_t* pocsUrl, const char16_t* pocsTitle,
                                     std::uint32_t dwFlags) {
    history_.Log("AddUrl " + std::to_string(dwFlags), pocsUrl);
    if (const HResult hr = history_.Armed("AddUrl")) return hr;
    if (!pocsUrl) return hresult::kInvalidArg;
    auto& entries = history_.entries;
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const Entry& e) { return e.url == pocsUrl; });
    if (it == entries.end()) {
        it = entries.insert(entries.end(), Entry{});
        it->url = pocsUrl;
    }
    it->title = pocsTitle ? std::optional<std::u16string>(pocsTitle) : std::nullopt;
    it->lastVisited = it->lastUpdated = history_.now;
    return hresult::kOk;
}

HResult SimUrlHistory::Store::DeleteUrl(const char16_t* pocsUrl, std::uint32_t dwFlags) {
    history_.Log("DeleteUrl " + std::to_string(dwFlags), pocsUrl);
    if (const HResult hr = history_.Armed("DeleteUrl")) return hr;
    if (!pocsUrl) return hresult::kInvalidArg;
    // A URL that is not there is no failure.
    auto& entries = history_.entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const Entry& e) { return e.url == pocsUrl; }),
                  entries.end());
    return hresult::kOk;
}

HResult SimUrlHistory::Store::EnumUrls(std::unique_ptr<UrlHistoryEnum>& enumerator) {
    history_.Log("EnumUrls");
    if (const HResult hr = history_.Armed("EnumUrls")) return hr;
    enumerator = std::make_unique<Enumerator>(history_);
    return hresult::kOk;
}

HResult SimUrlHistory::Store::ClearHistory() {
    history_.Log("ClearHistory");
    if (const HResult hr = history_.Armed("ClearHistory")) return hr;
    auto& entries = history_.entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const Entry& e) { return !e.survivesClear; }),
                  entries.end());
    return hresult::kOk;
}

HResult SimUrlHistory::CreateUrlHistoryStg(std::unique_ptr<UrlHistoryStg>& store) {
    Log("CoCreateInstance CUrlHistory");
    if (const HResult hr = Armed("CoCreateInstance")) return hr;
    store = std::make_unique<Store>(*this);
    return hresult::kOk;
}

void SimUrlHistory::CoTaskMemFree(void* block) {
    if (block && strings_.erase(block) == 0) {
        throw std::logic_error("freeing a task string that is not live");
    }
}

bool SimUrlHistory::FileTimeToLocalFileTime(const FileTime& fileTime, FileTime& localFileTime) {
    if (Armed("FileTimeToLocalFileTime")) return false;
    const auto ticks = static_cast<std::int64_t>(Ticks(fileTime));
    const std::int64_t local = ticks + std::int64_t{localOffsetMinutes} * 60 * kTicksPerSecond;
    if (ticks < 0 || local < 0) return false;
    localFileTime = {static_cast<std::uint32_t>(local),
                     static_cast<std::uint32_t>(static_cast<std::uint64_t>(local) >> 32)};
    return true;
}

bool SimUrlHistory::FileTimeToSystemTime(const FileTime& fileTime, SystemTime& systemTime) {
    if (Armed("FileTimeToSystemTime")) return false;
    const std::uint64_t ticks = Ticks(fileTime);
    if (ticks >> 63) return false;
    const auto ms = static_cast<std::int64_t>(ticks / 10'000);
    const std::int64_t seconds = ms / 1000;
    const std::int64_t days = seconds / kSecondsPerDay + kFileTimeEpochDays;
    const std::int64_t inDay = seconds % kSecondsPerDay;
    SystemTime st{};
    CivilFromDays(days, st);
    st.wDayOfWeek = static_cast<std::uint16_t>(((days % 7) + 11) % 7);  // 1970-01-01: Thursday
    st.wHour = static_cast<std::uint16_t>(inDay / 3600);
    st.wMinute = static_cast<std::uint16_t>(inDay / 60 % 60);
    st.wSecond = static_cast<std::uint16_t>(inDay % 60);
    st.wMilliseconds = static_cast<std::uint16_t>(ms % 1000);
    systemTime = st;
    return true;
}

bool SimUrlHistory::SystemTimeToVariantTime(const SystemTime& st, double& variantTime) {
    if (Armed("SystemTimeToVariantTime")) return false;
    if (st.wYear < 100 || st.wYear > 9999 || st.wMonth < 1 || st.wMonth > 12 || st.wDay < 1 ||
        st.wDay > DaysInMonth(st.wYear, st.wMonth) || st.wHour > 23 || st.wMinute > 59 ||
        st.wSecond > 59) {
        return false;
    }
    const auto days =
        static_cast<double>(DaysFromCivil(st.wYear, st.wMonth, st.wDay) - kVariantEpochDays);
    // Before the epoch the whole part counts back and the fraction forward.
    const double time = (st.wHour * 3600.0 + st.wMinute * 60.0 + st.wSecond) / kSecondsPerDay;
    variantTime = days < 0 ? days - time : days + time;
    return true;
}

HResult SimUrlHistory::Armed(const char* call) {
    try {
        faults_.Check(call);
        return hresult::kOk;
    } catch (const RunError& e) {
        return static_cast<HResult>(e.Number());
    }
}

char16_t* SimUrlHistory::TaskString(const std::u16string& text) {
    auto block = std::make_unique<char16_t[]>(text.size() + 1);
    std::copy(text.begin(), text.end(), block.get());
    char16_t* raw = block.get();
    strings_[raw] = std::move(block);
    return raw;
}

void SimUrlHistory::Log(const std::string& call, const char16_t* url) {
    journal_.push_back(url ? call + " " + Narrow(url) : call);
}

}  // namespace vw::sim
