// Sets the types Wine gives its drives, as letter:=type arguments (hd, cdrom,
// network, floppy); an empty type removes the letter's value. Wine reads them
// only when its server starts.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i], letter = arg.substr(0, 2), type = arg.substr(3);
        const LONG status =
            type.empty()
                ? RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Wine\\Drives", letter.c_str())
                : RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Wine\\Drives", letter.c_str(),
                                  REG_SZ, type.c_str(), static_cast<DWORD>(type.size() + 1));
        if (arg.size() < 3 || arg[2] != '=' || (status != 0 && status != ERROR_FILE_NOT_FOUND))
            failures += std::fprintf(stderr, "wine_drive_types: %s failed\n", argv[i]) > 0;
    }
    return failures == 0 ? 0 : 1;
}
