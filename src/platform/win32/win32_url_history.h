#pragma once

#include "platform/url_history.h"

namespace vw::win32 {

// The system's URL history store through COM (CLSID_CUrlHistory), and the
// time conversions of kernel32 and oleaut32.
class Win32UrlHistory final : public UrlHistory {
  public:
    std::unique_ptr<HistoryStore> OpenStore() override;
    double LocalDate(const FileTime& utc) override;
};

}  // namespace vw::win32
