// What the two POSIX writers that put a new file in an old one's place
// share: writing the bytes whole, and making the new file the old one's
// heir, so that a run by someone else (root with a user's HOME, an
// administrator's script) leaves the file its owner's, with its mode, and
// never splits a hard link without a word.
#pragma once
#include <cstddef>
#include <sys/stat.h>

#include "base/Write_status.h"

class Posix_replace {
public:
    // Writes all `size` bytes to `fd`, again after an interruption; false
    // with errno set (ENOSPC when the disk takes no more).
    static bool write_all(int fd, const void* data, size_t size);
    // A file with more than one name cannot be replaced without the others
    // keeping the old bytes: refused, saying so.
    static Write_status refuse_other_names(const struct stat& old);
    // Gives the new file at `fd` the owner, group and mode of `old` (the
    // file it replaces, or the home folder a new file is made for); refused
    // (not_permitted) when this user may not give that owner.
    static Write_status take_place_of(int fd, const struct stat& old);
    // A test drives a race from outside: with GARDENLUME_TEST_STOPS set,
    // the run stops itself here (SIGSTOP) until the test continues it.
    static void test_stop();
};
