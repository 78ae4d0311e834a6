#include "local_ini.h"

#include <vector>

namespace vw::e2e {

namespace {
using Section = std::vector<IniChange>;

void Set(Section& section, const IniChange& change) {
    for (IniChange& entry : section) {
        if (entry.first == change.first) {
            entry.second = change.second;
            return;
        }
    }
    section.push_back(change);
}

std::string Text(const char* name, const Section& section) {
    std::string text = std::string("[") + name + "]\r\n";
    for (const IniChange& entry : section) text += entry.first + "=" + entry.second + "\r\n";
    return text;
}

std::string Ini(const char* itemValue, std::initializer_list<IniChange> changes) {
    Section standard;
    for (const char* key :
         {"FindHistory", "DocumentHistory", "RunHistory", "RecycleBin", "MediaPlayer", "TempFiles",
          "ScanTempFiles", "MSOfficeTrack", "IE", "Netscape"}) {
        standard.emplace_back(key, itemValue);
    }
    Section wash = {{"SkipAllCustomWashItems", "1"}, {"SkipMessages", "0"}};
    for (const IniChange& change : changes) {
        const bool isWash =
            change.first == "SkipAllCustomWashItems" || change.first == "SkipMessages";
        Set(isWash ? wash : standard, change);
    }
    return Text("Standard Options", standard) + Text("Wash Options", wash);
}
}  // namespace

std::string LocalIni(std::initializer_list<IniChange> changes) {
    return Ini("0", changes);
}

std::string LocalIniAllOn(std::initializer_list<IniChange> changes) {
    return Ini("1", changes);
}

}  // namespace vw::e2e
