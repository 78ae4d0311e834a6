#include "washers/ie/ie_cache.h"

#include <cstring>

namespace vw {
namespace {

// The entry buffer: one block of the local heap, freed when replaced or gone.
class EntryBuffer {
  public:
    explicit EntryBuffer(UrlCache& cache) : cache_(cache) {}
    ~EntryBuffer() { Free(); }
    EntryBuffer(const EntryBuffer&) = delete;
    EntryBuffer& operator=(const EntryBuffer&) = delete;

    // Frees the block held, then takes a fixed block of `bytes`. False when
    // the heap refuses, with no block held.
    bool Allocate(std::uint32_t bytes) {
        Free();
        block_ = cache_.LocalAlloc(0, bytes);
        return block_ != nullptr;
    }
    void Free() {
        if (block_) cache_.LocalFree(block_);
        block_ = nullptr;
    }
    CacheEntryInfo* get() const { return static_cast<CacheEntryInfo*>(block_); }

  private:
    UrlCache& cache_;
    void* block_ = nullptr;
};

// An enumeration of the cache, closed when replaced or gone.
class CacheFind {
  public:
    explicit CacheFind(UrlCache& cache) : cache_(cache) {}
    ~CacheFind() { reset(); }
    CacheFind(const CacheFind&) = delete;
    CacheFind& operator=(const CacheFind&) = delete;

    void reset(CacheFindHandle handle = 0) {
        if (handle_) cache_.FindCloseUrlCache(handle_);
        handle_ = handle;
    }
    CacheFindHandle get() const { return handle_; }

  private:
    UrlCache& cache_;
    CacheFindHandle handle_ = 0;
};

void WriteStructSize(const EntryBuffer& buffer, std::uint32_t size) {
    std::memcpy(buffer.get(), &size, sizeof size);
}

}  // namespace

void DeleteCacheURLList(Platform& platform) {
    UrlCache& cache = platform.urlCache;
    // Declared before the buffer: the buffer is freed first, then the walk closed.
    CacheFind find(cache);
    EntryBuffer buffer(cache);

    std::uint32_t size = 0;
    find.reset(cache.FindFirstUrlCacheEntryA(nullptr, nullptr, &size));
    if (find.get() || cache.GetLastError() != cacheerror::kInsufficientBuffer) return;
    if (!buffer.Allocate(size)) return;
    WriteStructSize(buffer, size);
    find.reset(cache.FindFirstUrlCacheEntryA(nullptr, buffer.get(), &size));
    if (!find.get()) return;

    bool fetched = true;
    while (fetched) {
        CacheEntryInfo header;
        std::memcpy(&header, buffer.get(), sizeof header);
        if ((header.CacheEntryType & cacheentry::kNormal) == cacheentry::kNormal) {
            // The URL leaves the buffer before the buffer is freed.
            cache.DeleteUrlCacheEntryA(PtrToAnsiString(header.lpszSourceUrlName));
        }
        buffer.Free();

        size = 0;
        cache.FindNextUrlCacheEntryA(find.get(), nullptr, &size);
        if (size == 0 || !buffer.Allocate(size)) break;
        WriteStructSize(buffer, size);
        fetched = cache.FindNextUrlCacheEntryA(find.get(), buffer.get(), &size);
    }
}

std::string PtrToAnsiString(const char* address) {
    if (!address) return {};
    std::string text(std::strlen(address), '\0');
    std::memcpy(text.data(), address, text.size());
    return text;
}

}  // namespace vw
