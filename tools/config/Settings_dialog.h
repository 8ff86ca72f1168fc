// config.exe on Windows: the settings as a dialog, the screen modes in a
// list and the mouse rule in a check box. OK writes "cfg" as the command
// line does (other fields kept, a file of another format refused); Cancel
// and Escape change nothing. A write that fails is shown in a message box
// and the dialog stays open.
#pragma once
#include <cstdint>
#include <string>

class Settings_dialog {
public:
    // Whether this system's config.exe has the dialog (Windows only; the
    // command line serves elsewhere).
    static bool available();
    // Shows the dialog for the file at `cfg_path`, modal to the window
    // `owner` (0: none) until it is closed. Returns the exit code: 0 when
    // closed, 1 when the dialog could not be shown.
    static int run(const std::string& cfg_path, uintptr_t owner);
};
