// Reads a whole file into memory, safely for any path a user or a host may
// name: only a regular file is read (a folder, device or FIFO is refused
// without blocking on it), never more than a cap, and what is kept is what
// was actually read, whatever size the file claimed when it was opened.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Read_status.h"

class Whole_file {
public:
    // Fills `out` with the file's bytes. Anything but ok (missing,
    // not_regular, unreadable, too_large) leaves `out` empty.
    static Read_reason read(const std::string& path, std::vector<uint8_t>& out, size_t max_size);
    // What read would find at the path (ok: a regular file within the cap),
    // without reading it.
    static Read_reason check(const std::string& path, size_t max_size);
};
