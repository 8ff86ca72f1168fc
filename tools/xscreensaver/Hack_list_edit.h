// Puts the garden into the programs: list of a ~/.xscreensaver file's text,
// as a line in the layout xscreensaver-settings writes, and on request makes
// it the one hack shown (mode: one, selected: its place in the list); or
// takes it out again. Only the lines it changes change; a text that already
// lists the garden, enabled or behind a "-", keeps it where it is.
#pragma once
#include <cstddef>
#include <string>

class Hack_list_edit {
public:
    struct Result {
        std::string text;       // the new bytes; the old ones when nothing changed
        bool changed = false;
        bool added = false;     // the garden was missing and is now the list's last entry
        bool disabled = false;  // the garden was there, behind a "-"
        bool selected = false;  // mode: or selected: changed to show the garden alone, or back to random
        bool removed = false;   // the garden's entry was taken out
        size_t index = 0;       // the garden's place in the list, from 0
        // The list is laid out in a way the edit cannot follow (backslashes
        // that escape across line ends): what it made did not read back as
        // meant, so nothing changed.
        bool unfollowable = false;
        // The daemon reads the text otherwise than it looks (a line longer
        // than its 1 KiB chunks, a last line ending in a backslash and one
        // byte): nothing changed, no place told.
        bool misread = false;
    };

    // Every edit is read back as the daemon reads it before it is given
    // out: the same settings and entries, but for the garden's entry and
    // the mode and selected it changes.
    static Result add_garden(const std::string& text, bool select);
    // The garden's entries taken out of programs:, with the lines that held
    // nothing else. Where the garden was the one shown (mode: one, selected:
    // its place) the mode becomes random; a selected entry after it keeps
    // being the one selected (its number follows it). Nothing else changes;
    // a text without the garden is left as it is.
    static Result remove_garden(const std::string& text);
    // A new ~/.xscreensaver for a user who has none, as xscreensaver-settings
    // would write it with the garden added: `system_programs` (the system's
    // list, the app-defaults' programs value) entry by entry, enabled or
    // disabled as there, the garden last, mode and selected when asked. The
    // other settings are left out, so the daemon takes the system's own.
    // Read back as the daemon reads it; unfollowable when it does not read
    // as meant.
    static Result new_file(const std::string& system_programs, bool select);
};
