// Sets the types Wine gives its drives, as letter:=type arguments (hd, cdrom,
// network, floppy); an empty type removes the letter's value. Wine reads them
// only when its server starts.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    constexpr char kDrives[] = "Software\\Wine\\Drives";
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto eq = arg.find('=');
        if (eq == std::string::npos) {
            std::fprintf(stderr, "usage: wine_drive_types letter:=type...\n");
            return 2;
        }
        const std::string letter = arg.substr(0, eq), type = arg.substr(eq + 1);
        const LONG status =
            type.empty() ? RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kDrives, letter.c_str())
                         : RegSetKeyValueA(HKEY_LOCAL_MACHINE, kDrives, letter.c_str(), REG_SZ,
                                           type.c_str(), static_cast<DWORD>(type.size() + 1));
        if (status != ERROR_SUCCESS && !(type.empty() && status == ERROR_FILE_NOT_FOUND)) {
            std::fprintf(stderr, "wine_drive_types: %s failed with %ld\n", arg.c_str(), status);
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
