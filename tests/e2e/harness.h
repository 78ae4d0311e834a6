#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/handles.h"

namespace vw::e2e {

// A run with nothing to wash ends in well under a second under Wine; the
// limits leave room for a loaded machine.
constexpr DWORD kPromptMs = 5000;
constexpr DWORD kBoxShowMs = 10000;

constexpr char kRecentDocs[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
const HKEY kCu = HKEY_CURRENT_USER;
const HKEY kLm = HKEY_LOCAL_MACHINE;
const std::string kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

bool UnderWine();
// Writes `text` to the file, creating its folders; false when that fails.
bool Touch(const std::string& path, const std::string& text = "x");
std::string ReadText(const std::string& path);
// Held open without sharing: the run can neither delete nor open it.
win32::UniqueFileHandle Lock(const std::string& path);
std::vector<std::string> TempAt(const std::string& folder);
// Sorted.
std::vector<std::string> ValueNames(HKEY root, const std::string& path);

// A registry value put back as it was when the test ends.
class SavedValue {
  public:
    SavedValue(HKEY root, std::string path, std::string name);
    ~SavedValue();
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;

  private:
    HKEY root_;
    std::string path_, name_;
    bool present_ = false;
    DWORD type_ = 0, size_ = 0;
    char data_[2048] = {};
};

// Local.Ini with every wash item set to itemsOn except the ones named in
// `flipped` (space separated); custom wash items are always skipped.
std::string LocalIni(bool itemsOn, const std::string& flipped = "", bool skipMessages = false);

bool KeyExists(HKEY root, const std::string& path);
bool ValueExists(HKEY root, const std::string& path, const std::string& name);
// Creates the key as needed.
bool SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
              const std::string& data);
inline bool SetString(HKEY root, const std::string& path, const std::string& name,
                      const std::string& text) {
    return SetValue(root, path, name, REG_SZ, text + '\0');
}
// Every access denied to everyone: opening the key fails, deleting it still
// works once it has no subkeys.
bool DenyAll(HKEY root, const std::string& path);
// Gives the key back a default security and removes its tree.
void RemoveTree(HKEY root, const std::string& path);

// Registry values and files no scenario may touch, planted on construction
// and removed on destruction. RecentDocs is among them, cleared first and
// seeded with a value only: Wine's shell keeps a key that has subkeys, which
// would hide a Document history wash that should not have run. A canary
// that cannot be planted fails the test.
class Canaries {
  public:
    Canaries();
    ~Canaries();
    Canaries(const Canaries&) = delete;
    Canaries& operator=(const Canaries&) = delete;

    // What is missing or changed, one item a line; empty when all are intact.
    std::string Damage() const;
};

// Shown dialogs of process pid whatever their title: a test that expects no
// box must see any box at all.
std::vector<HWND> BoxesOf(DWORD pid);
std::string Text(HWND window);
// The message box keeps its message in the Static with id 0xFFFF.
inline std::string BoxMessage(HWND box) {
    return Text(GetDlgItem(box, 0xFFFF));
}

struct Outcome {
    std::optional<DWORD> exitCode;  // nothing: still running at the limit
    bool boxShown = false;
};

// A file of the test program's folder that a run's folder gets as `as`.
struct Beside {
    std::string from, as;
};

// One start of a copy of vantrixwash.exe in its own folder C:\e2e\<name>
// beside the given Local.Ini (and the `beside` files); ends the process and
// removes the folder when destroyed.
class Scenario {
  public:
    // `environment` holds NAME=value entries the run gets on top of the test's.
    Scenario(const std::string& name, const std::string& ini, bool hiddenIni = false,
             const std::vector<Beside>& beside = {},
             const std::vector<std::string>& environment = {});
    ~Scenario();

    // The exit code, or nothing while the process still runs after timeoutMs.
    std::optional<DWORD> Wait(DWORD timeoutMs);
    // Waits for the exit, stopping early when a box shows: nobody will press it.
    Outcome Watch(DWORD timeoutMs);
    // Fails the test unless the run started and ends with 0 before
    // timeoutMs, showing no box.
    void ExpectQuietEnd(DWORD timeoutMs = kPromptMs);

    std::string problem;  // empty once started
    DWORD pid = 0;

  private:
    std::string folder_;
    win32::UniqueKernelHandle process_;
};

}  // namespace vw::e2e
