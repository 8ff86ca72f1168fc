// The one way a write of ours reports how it ended, beside Read_status: a
// reason from one table of texts, and the system's own words on it (the
// error text of the call that failed), if any. Replacing a file whole,
// writing one below a folder, saving a pack or "cfg" all answer with it.
#pragma once
#include <string>

enum class Write_reason {
    ok,
    // Replacing a file whole (Atomic_file, Pak::save, Cfg_file).
    is_symbolic_link,
    is_reparse_point,
    is_folder,
    not_regular,
    cannot_create_beside,
    // The folder or the file is not this user's to change (an installation
    // folder of an administrator's): someone with the rights may.
    not_permitted,
    cannot_write,
    cannot_replace,
    // Writing a file below a folder (Confined_writer, Pak::extract_entry).
    outside_folder,
    meets_symbolic_link,
    // An entry whose name an earlier entry of the pack has: not written.
    repeated_name,
    // Putting bytes into a pack in memory.
    entry_not_stored,
};

struct Write_status {
    static Write_status failed(Write_reason reason, const std::string& detail = std::string())
    {
        return Write_status{reason, detail};
    }
    bool ok() const { return reason == Write_reason::ok; }
    // The reason's text, then ": " and the detail when there is one.
    std::string text() const;

    Write_reason reason = Write_reason::ok;
    std::string detail;  // the system's words, e.g. "No space left on device"
};

// A short text for people: "cannot be written", "meets a symbolic link" ...
const char* text(Write_reason reason);
