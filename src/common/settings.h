#pragma once

namespace vw {

// The sections of Local.Ini, written as in the file.
namespace section {
constexpr const char* kStandardOptions = "Standard Options";
constexpr const char* kWashOptions = "Wash Options";
constexpr const char* kMSOffice = "MSOffice";
constexpr const char* kNetscapeOptions = "Netscape Options";
}  // namespace section

// The title every box of the program bears unless it names its own.
constexpr const char* kAppTitle = "Vantrix";

}  // namespace vw
