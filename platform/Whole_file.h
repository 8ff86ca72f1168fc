// Reads a whole file into memory, safely for any path a user or a host may
// name: only a regular file is read (a folder, device or FIFO is refused
// without blocking on it), never more than a cap, and what is kept is what
// was actually read, whatever size the file claimed when it was opened.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class Whole_file_status { ok, missing, not_regular, unreadable, too_large };

class Whole_file {
public:
    // Fills `out` with the file's bytes. Anything but ok leaves `out` empty.
    static Whole_file_status read(const std::string& path, std::vector<uint8_t>& out,
                                  size_t max_size);
    // What read would find at the path (ok: a regular file within the cap),
    // without reading it.
    static Whole_file_status check(const std::string& path, size_t max_size);
    // A short text for people: "is not a regular file" ...
    static const char* text(Whole_file_status status);
};
