// The installation folder, read once from the registry value "Path" when the
// process starts, and the file paths and program start built on it. Paths
// are plain concatenations: the folder ends with its separator.
#pragma once
#include <cstdint>
#include <string>

class Settings {
public:
    explicit Settings(const char* key_path);
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    // The folder followed directly by `name`; no separator is inserted.
    std::string file_path(const std::string& name);
    std::string folder() const { return install_path; }
    // Starts the program `name` from the folder, with the folder part of its
    // path as working directory and `argument`, when not empty, as its one
    // argument. The outcome is not reported.
    void launch(const std::string& name, const std::string& argument = std::string());

    // Whether "Path" was found; without it the folder is the executable's.
    bool from_registry() const { return found; }

private:
    std::string work;          // scratch text in which paths are built
    std::string install_path;  // the registry data up to its terminating zero
    uint32_t path_size = 0;    // size of the data as the registry reported it
    bool found = false;
};

// Built after pak_cache and texturegen_list, with the saver's registry key.
extern Settings settings;
