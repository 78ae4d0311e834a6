#include "wash/frm_wash.h"
#include "washers/ie/ie_cache.h"

namespace vw {

void frmWash::DeleteCacheURLList() {
    vw::DeleteCacheURLList(platform_);
}

void frmWash::WashInternetExplorer() {}

}  // namespace vw
