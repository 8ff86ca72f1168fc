// The settings program's side of "cfg": reads the record with what it found
// (file, defaults, missing) and writes it back atomically, through a
// temporary file in the same folder that is renamed over the old one.
#pragma once
#include <string>

#include "app/Cfg_record.h"

class Cfg_file {
public:
    // Invalid: another format number, or cut short before its last field.
    enum class Source { File, Missing, Unreadable, Invalid };

    // Reads `path`; a missing or unreadable file gives the defaults.
    static Source read(const std::string& path, Cfg_record& record);
    // Writes `record` with format number 1. On failure returns false with a
    // reason for people in `problem`, and the old file is untouched.
    static bool write(const std::string& path, const Cfg_record& record, std::string& problem);
};
