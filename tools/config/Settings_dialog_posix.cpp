// No dialog here: config.exe is a command-line program on POSIX systems.
#include "tools/config/Settings_dialog.h"

bool Settings_dialog::available() { return false; }

int Settings_dialog::run(const std::string&, uintptr_t) { return 1; }
