// Files for the tests: a temporary folder that goes with its owner, and the
// whole bytes of a file read back as a test compares them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class Test_files {
public:
    // A new folder "/tmp/<stem>XXXXXX/" (TMPDIR when set); empty when it
    // cannot be made.
    static std::string make_folder(const std::string& stem);
    static void remove_all(const std::string& path);
    // The whole file, or empty when it cannot be read.
    static std::string text(const std::string& path);
    static std::vector<uint8_t> bytes(const std::string& path);
};
