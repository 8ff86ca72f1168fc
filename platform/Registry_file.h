// The POSIX stand-in for the read-only registry: a text file in the registry
// export format ("Windows Registry Editor Version 5.00" or "REGEDIT4", then
// [key] sections and "name"="data" lines). Key and value names compare
// case-insensitively, as on Windows; a malformed line is skipped.
#pragma once
#include <string>

class Registry_file {
public:
    // The file named by GARDENLUME_REGISTRY, else this one.
    static const char* const default_path;
    static std::string path_in_use();

    // Looks `value` up under the key `key_path` (below HKEY_LOCAL_MACHINE) in
    // the export text `text`. False when the header, key or value is missing.
    static bool find(const std::string& text, const std::string& key_path, const std::string& value,
                     std::string& data);
    // Reads the file at `path` (bounded) and looks the value up in it.
    static bool find_in_file(const std::string& path, const std::string& key_path,
                             const std::string& value, std::string& data);

    // Larger registry files are refused rather than read.
    static const size_t max_file_size = 1 << 20;
};
