// What the POSIX writers that put a new file in an old one's place share
// (Atomic_file, Atomic_file_edit, Confined_writer): the bytes go to a new
// file beside the old one, which becomes its heir (owner, group, mode,
// access list, extended attributes), and it is renamed over the old one
// only while the name still holds what the writer found there, unchanged.
// A run by someone else (root with a user's HOME, an administrator's
// script) so leaves the file its owner's and open to no one more than
// before, never splits a hard link, and never replaces a file that took the
// name or changed meanwhile.
#pragma once
#include <cstddef>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

#include "base/Write_status.h"

class Posix_replace {
public:
    // What stood at a name when a writer looked: nothing, a regular file
    // (held open, so that its rights are read from that very file and its
    // changes are seen), or anything else (a link, a folder, a FIFO).
    struct Old {
        enum Kind { missing, regular, other };
        Old() = default;
        ~Old();
        Old(const Old&) = delete;
        Old& operator=(const Old&) = delete;

        Kind kind = missing;
        struct stat st {};
        int fd = -1;             // a regular file's
        bool path_only = false;  // opened as a path alone: this user may not read it
    };
    // The rights of a file that replaces none: `mode` as given (`exact`),
    // or as the umask and the folder's default access list make of it;
    // the owner and group of `owner` (nullptr: this user's).
    struct Fresh {
        unsigned mode = 0666;
        bool exact = false;
        const struct stat* owner = nullptr;
    };

    // The folder at `path` (a file's, ending in '/' or not), opened for
    // the steps that name files in it: as a path alone where this user may
    // search it but not list it. -1 with errno set.
    static int open_folder(const std::string& path);
    // Whether the regular file `old` holds open is as it was looked at: the
    // same size, change and modification time (a save in place moves them).
    static bool unchanged(const Old& old);
    // Looks at `name` in the folder `folder` without following a link;
    // false with errno set when nothing can be said (a folder in the way).
    static bool look(int folder, const std::string& name, Old& old);
    // Writes `size` bytes to a new file in `folder` named after
    // `temp_template` (its last six characters "XXXXXX" made random),
    // flushed, with the rights of `old` (a regular file) or `fresh`; then
    // puts it at `name`: over `old` while the name still holds it and it
    // has not changed since it was looked at (refused: "changed while being
    // read; run it again"), or, where nothing was there, only if nothing
    // appeared meanwhile. Any failure leaves no temporary file and the old
    // file as it was.
    static Write_status replace(int folder, const std::string& name, const std::string& temp_template,
                                const void* data, size_t size, const Old& old, const Fresh& fresh);
    // A test drives a race from outside: with GARDENLUME_TEST_STOPS set,
    // the run stops itself here (SIGSTOP) until the test continues it.
    static void test_stop();

private:
    // Gives the new file at `fd` the owner and group of `old`: only root
    // may give a file away; refused (not_permitted) otherwise.
    static Write_status give_owner(int fd, const struct stat& old);
    // Owner, group, access list (or mode) and extended attributes of
    // `old`, read through its descriptor; refused where one cannot be
    // copied.
    static Write_status inherit(int fd, const Old& old);
};
