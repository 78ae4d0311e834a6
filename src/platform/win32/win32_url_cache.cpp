#include "platform/win32/win32_url_cache.h"

#include <windows.h>
// Needs the definitions of <windows.h> before it.
#include <wininet.h>

#include <new>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "text/utf8.h"

namespace vw::win32 {
namespace {

struct FindCloseUrlCacheCloser {
    void operator()(HANDLE h) const noexcept { ::FindCloseUrlCache(h); }
};
using UniqueCacheFind = UniqueHandle<HANDLE, FindCloseUrlCacheCloser>;

static_assert(cacheentry::kNormal == NORMAL_CACHE_ENTRY &&
              cacheentry::kCookie == COOKIE_CACHE_ENTRY &&
              cacheentry::kUrlHistory == URLHISTORY_CACHE_ENTRY);

// Room for an entry with a long URL and its headers: most walks never grow it.
constexpr DWORD kFirstBufferBytes = 4096;

// The NUL-terminated ANSI string at `address`, as UTF-8; null gives "".
std::string PtrToAnsiString(const char* address) {
    return address ? AnsiToUtf8(address) : std::string();
}

// The ANSI bytes of a URL; false when it has none (no UTF-8, a character the
// code page lacks), so it names no entry.
bool ToAnsi(const std::string& url, std::string& ansi) {
    std::u16string wide;
    if (!Utf8ToUtf16(url, wide)) return false;
    const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
    const auto count = static_cast<int>(wide.size());
    BOOL lossy = FALSE;
    ansi.assign(static_cast<std::size_t>(::WideCharToMultiByte(
                    CP_ACP, WC_NO_BEST_FIT_CHARS, units, count, nullptr, 0, nullptr, nullptr)),
                '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, units, count, ansi.data(),
                          static_cast<int>(ansi.size()), nullptr, &lossy);
    return !lossy;
}

// One enumeration handle and one entry buffer for the whole walk; the buffer
// grows only when the cache asks for more room.
class Win32CacheWalk final : public CacheWalk {
  public:
    bool Next(CacheEntry& entry) override {
        if (ended_) return false;
        for (;;) {
            DWORD size = Capacity();
            if (Fetch(&size)) break;
            // Any other failure, or a size that would not grow the buffer,
            // ends the walk as a failed fetch does.
            if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= Capacity() ||
                !Grow(size)) {
                ended_ = true;
                return false;
            }
        }
        const auto* info = Info();
        entry.url = PtrToAnsiString(info->lpszSourceUrlName);
        entry.type = info->CacheEntryType;
        return true;
    }

  private:
    bool Fetch(DWORD* size) {
        if (find_) return ::FindNextUrlCacheEntryA(find_.get(), Info(), size) != FALSE;
        find_.reset(::FindFirstUrlCacheEntryA(nullptr, Info(), size));
        return static_cast<bool>(find_);
    }
    bool Grow(DWORD bytes) {
        try {
            buffer_.resize((bytes + sizeof(Word) - 1) / sizeof(Word));
            return true;
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    DWORD Capacity() const { return static_cast<DWORD>(buffer_.size() * sizeof(Word)); }
    INTERNET_CACHE_ENTRY_INFOA* Info() {
        return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer_.data());
    }

    // Words keep the record's pointers aligned.
    using Word = std::uint64_t;
    std::vector<Word> buffer_ = std::vector<Word>(kFirstBufferBytes / sizeof(Word));
    UniqueCacheFind find_;
    bool ended_ = false;
};

}  // namespace

std::unique_ptr<CacheWalk> Win32UrlCache::Walk() {
    return std::make_unique<Win32CacheWalk>();
}

bool Win32UrlCache::DeleteEntry(const std::string& url) {
    // A NUL would end the name early and address another entry.
    if (url.find('\0') != std::string::npos) return false;
    if (IsAscii(url)) return ::DeleteUrlCacheEntryA(url.c_str()) != FALSE;
    std::string ansi;
    return ToAnsi(url, ansi) && ::DeleteUrlCacheEntryA(ansi.c_str()) != FALSE;
}

}  // namespace vw::win32
