// Replaces a file's contents in one step: the bytes go to a new temporary
// file beside it (created exclusively under an unpredictable name), are
// flushed to the disk, and the temporary file is renamed over the old one.
// Whatever fails on the way (a full disk, a killed run), the old file stays
// as it was, byte for byte.
#pragma once
#include <cstddef>
#include <string>

class Atomic_file {
public:
    // `temp_template` is the temporary file's path, in the folder of `path`,
    // ending in "XXXXXX" (mkstemp). The new file gets `mode`. On failure
    // returns false with a reason for people in `problem` and leaves no
    // temporary file.
    static bool replace(const std::string& path, const std::string& temp_template, const void* data,
                        size_t size, unsigned mode, std::string& problem);
};
