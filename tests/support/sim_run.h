#pragma once

#include <algorithm>
#include <string>

#include "platform/sim/sim_platform.h"
#include "startup/ini_path.h"
#include "wash/frm_wash.h"

namespace vw::test {

// A simulated machine with the program in its folder; IniPath starts empty
// for every test.
class SimMachine {
  public:
    SimMachine() { IniPath.clear(); }
    ~SimMachine() { IniPath.clear(); }

    std::string IniFile() const { return sim.process.programFolder + "\\Local.Ini"; }
    // Writes Local.Ini beside the program and points IniPath at it, as Main would.
    void UseIni(const std::string& text) {
        sim.files.AddFile(IniFile(), text);
        IniPath = IniFile();
    }
    std::size_t JournalCount(const std::string& prefix) const {
        return std::count_if(sim.journal.begin(), sim.journal.end(),
                             [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    }

    sim::SimPlatform sim;
};

// Every switch of the run off.
inline const char* kAllOff =
    "[Standard Options]\r\nFindHistory=0\r\nDocumentHistory=0\r\nRunHistory=0\r\n"
    "RecycleBin=0\r\nMediaPlayer=0\r\nTempFiles=0\r\nScanTempFiles=0\r\nMSOfficeTrack=0\r\n"
    "IE=0\r\nNetscape=0\r\n[Wash Options]\r\nSkipAllCustomWashItems=1\r\n";

}  // namespace vw::test
