// Writes a file whose name comes from untrusted data (a pack entry) below a
// folder the caller chose, creating the folders the name holds, and never
// writing through a link: each folder below the caller's is entered without
// following one (on Windows: symbolic links and junctions, the reparse
// points). The bytes go to a new file beside the name, created exclusively,
// and are renamed over it once flushed: a failure leaves an old file there
// byte for byte.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Write_status.h"

class Confined_writer {
public:
    // Writes `size` bytes to prefix + name. The folder part of `prefix` is
    // the caller's and is made as named; the rest of prefix + name is walked
    // one folder at a time. The name is expected to have been checked for
    // absolute paths and ".." parts already. Ends ok, meets_symbolic_link,
    // is_folder or not_regular (what stands at the name), not_permitted,
    // cannot_create_beside, cannot_write or cannot_replace, the last ones
    // with the system's words (also for a folder that cannot be made). An
    // old file's owner, group, mode, access list and extended attributes
    // stay (POSIX), and a name that changed meanwhile is refused, as in
    // Atomic_file::replace; one with more names (hard links) is refused with
    // cannot_replace.
    static Write_status write(const std::string& prefix, const std::string& name, const uint8_t* data,
                              size_t size);

private:
    // How a write below the folder ended.
    static Write_status meets_link() { return Write_status::failed(Write_reason::meets_symbolic_link); }
    static Write_status not_written() { return Write_status::failed(Write_reason::cannot_write); }
};
