// The settings program's side of "cfg": reads the record with what it found
// (file, defaults, missing) and writes it back atomically, through a
// temporary file "cfg.tmp-<pid>-XXXXXX" in the same folder that is renamed
// over the old one. Temporary files of runs that died are removed on the
// next write. A "cfg" that is a symbolic link (the Debian package's leads
// to /etc/gardenlume/cfg) stays one: the file it leads to is written.
#pragma once
#include <string>

#include "base/Write_status.h"

#include "resources/Cfg_record.h"

class Cfg_file {
public:
    // Invalid: another format number, or cut short before its last field.
    enum class Source { File, Missing, Unreadable, Invalid };

    // Reads `path`; a missing or unreadable file gives the defaults. For an
    // Invalid or Unreadable file `why` says what is wrong with it, for
    // people: "is a folder, not a settings file", "is a text file, ...".
    static Source read(const std::string& path, Cfg_record& record, std::string& why);
    // Writes `record` with format number 1; on failure the old file is
    // untouched.
    static Write_status write(const std::string& path, const Cfg_record& record);
    // The file that writing `path` changes: `path`, or where its symbolic
    // links lead. Only links of root's or this user's are followed: another
    // user's could turn a write run with sudo onto any file of the system.
    static Write_status target(const std::string& path, std::string& file);
    // Whether this user may write `path` at all (not_permitted when the
    // folder is an administrator's), found by creating and removing a
    // temporary file beside it; nothing else changes.
    static Write_status may_write(const std::string& path);

    // The prefix of every temporary file name; a name is ours only when the
    // pid and six more characters follow it: "cfg.tmp-<pid>-XXXXXX".
    static constexpr const char* temp_prefix = "cfg.tmp-";
    // Removes from `folder` the temporary files whose process is gone and
    // that are older than a few seconds. Returns how many it removed.
    static int remove_stale_temporaries(const std::string& folder);
};
