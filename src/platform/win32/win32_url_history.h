#pragma once

#include "platform/url_history.h"

namespace vw::win32 {

// The system's URL history store through COM (CLSID_CUrlHistory), the COM
// task allocator and the time conversions of kernel32 and oleaut32.
class Win32UrlHistory final : public UrlHistory {
  public:
    HResult CreateUrlHistoryStg(std::unique_ptr<UrlHistoryStg>& store) override;
    void CoTaskMemFree(void* block) override;
    bool FileTimeToLocalFileTime(const FileTime& fileTime, FileTime& localFileTime) override;
    bool FileTimeToSystemTime(const FileTime& fileTime, SystemTime& systemTime) override;
    bool SystemTimeToVariantTime(const SystemTime& systemTime, double& variantTime) override;
};

}  // namespace vw::win32
