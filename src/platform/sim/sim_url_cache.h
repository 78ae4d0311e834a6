#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_faults.h"
#include "platform/url_cache.h"

namespace vw::sim {

// The content entries of a URL cache with WinINet's buffer protocol: a size
// probe fails with 122 and reports the size, a record is the fixed part
// followed by its strings in the same buffer, an empty cache fails with 259.
// Faults armed by call name ("FindFirstUrlCacheEntryA",
// "FindNextUrlCacheEntryA", "DeleteUrlCacheEntryA", "LocalAlloc") make that
// call fail with the armed number as its last error. A caller breaking the
// protocol (a buffer smaller than the size it claims, a stale handle or
// block) raises std::logic_error, as the real thing would corrupt memory.
class SimUrlCache : public UrlCache {
  public:
    SimUrlCache(SimFaults& faults, Journal& journal) : faults_(faults), journal_(journal) {}

    // Seeding and inspection, for tests. Entries are walked in the order added.
    void AddEntry(const std::string& url, std::uint32_t type,
                  const std::string& localFile = "C:\\cache\\entry.htm");
    // The entry's deletion is refused (in use).
    void Lock(const std::string& url);
    bool Contains(const std::string& url) const;
    std::size_t EntryCount() const { return entries_.size(); }
    std::size_t OpenHandles() const { return handles_.size(); }
    std::size_t LiveBlocks() const { return blocks_.size(); }
    // Every size asked of LocalAlloc, in order, failed requests included.
    const std::vector<std::size_t>& AllocationSizes() const { return allocations_; }

    CacheFindHandle FindFirstUrlCacheEntryA(const char* searchPattern, CacheEntryInfo* entryInfo,
                                            std::uint32_t* entryInfoSize) override;
    bool FindNextUrlCacheEntryA(CacheFindHandle find, CacheEntryInfo* entryInfo,
                                std::uint32_t* entryInfoSize) override;
    bool DeleteUrlCacheEntryA(const std::string& urlName) override;
    bool FindCloseUrlCache(CacheFindHandle find) override;
    std::uint32_t GetLastError() override { return lastError_; }
    void* LocalAlloc(std::uint32_t flags, std::size_t bytes) override;
    void* LocalFree(void* block) override;

  private:
    struct Entry {
        std::uint64_t id;
        std::string url;
        std::uint32_t type;
        std::string localFile;
        bool locked = false;
    };

    // The first entry after `afterId`, or null.
    const Entry* After(std::uint64_t afterId) const;
    static std::uint32_t RecordSize(const Entry& entry);
    // Writes the record at `entryInfo` when the buffer holds it; otherwise
    // sets 122 and the size needed. Reports whether it was written.
    bool Fill(const Entry& entry, CacheEntryInfo* entryInfo, std::uint32_t* entryInfoSize);
    // Consumes an armed fault of `call`, setting its number as the last error.
    bool Faulted(const char* call);

    SimFaults& faults_;
    Journal& journal_;
    std::vector<Entry> entries_;
    std::uint64_t nextId_ = 1;
    // Each open walk: the id of the entry it fetched last.
    std::map<CacheFindHandle, std::uint64_t> handles_;
    CacheFindHandle nextHandle_ = 0xC000;
    std::map<const void*, std::pair<std::unique_ptr<unsigned char[]>, std::size_t>> blocks_;
    std::vector<std::size_t> allocations_;
    std::uint32_t lastError_ = 0;
};

}  // namespace vw::sim
