#include "wash/frm_wash.h"

namespace vw {

void frmWash::WashNetscape() {}
void frmWash::WashNetscapeCache(const std::string&) {}
void frmWash::WashNetscapeCookies(const std::string&) {}
void frmWash::WashNetscapeHistory(const std::string&) {}
void frmWash::WashNetscapeMailTrash(const std::string&) {}

}  // namespace vw
