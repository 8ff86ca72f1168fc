// Replaces a file's contents in one step: the bytes go to a new temporary
// file beside it (created exclusively under an unpredictable name), are
// flushed to the disk, and the temporary file is renamed over the old one.
// Whatever fails on the way (a full disk, a killed run), the old file stays
// as it was, byte for byte.
#pragma once
#include <cstddef>
#include <string>

#include "base/Write_status.h"

class Atomic_file {
public:
    // `temp_template` is the temporary file's path, in the folder of `path`,
    // ending in "XXXXXX", which become random characters. A new file gets
    // `mode` (POSIX permission bits; Windows has none to give); one that
    // replaces a file keeps that file's owner, group, mode, access list and
    // extended attributes on POSIX (refused with cannot_replace where one
    // cannot be given), and a file with more names (hard links) is refused
    // with cannot_replace rather than split from them. An owner this user
    // may not give (another user's file, not run as root) is refused with
    // not_permitted. On POSIX the name is looked at again just before the
    // rename: another file there, or the file changed, is refused with
    // cannot_replace ("changed while being read; run it again"), and where
    // there was none a file that appeared meanwhile is kept. A failure
    // leaves no temporary file. On Windows a link (a reparse point:
    // symbolic link, junction) at `path` is refused rather than replaced.
    // A folder whose files this user may not create or replace gives
    // not_permitted.
    static Write_status replace(const std::string& path, const std::string& temp_template, const void* data,
                                size_t size, unsigned mode);
    // As replace, for a file that is not there yet (one that appears
    // meanwhile is kept, and the call fails), with `mode`. Run as root on
    // POSIX it is made for whoever owns the folder (a run with a user's
    // HOME makes the user's file, in the user's own group).
    static Write_status create_owned(const std::string& path, const std::string& temp_template, const void* data,
                                     size_t size, unsigned mode);
    // Whether replace could begin: creates the temporary file of
    // `temp_template` and removes it again, and answers as replace would.
    static Write_status may_create(const std::string& temp_template);

    // What stands at a path, the last part not followed when it is a link.
    enum class Target { missing, regular, link, other };
    // For a regular file `mode` gets its permission bits; for a missing one
    // the bits a new file gets by default (0666 less the umask).
    static Target inspect(const std::string& path, unsigned& mode);
};
