#include "app/Settings.h"

#include <vector>

#include "platform/Platform.h"

Settings settings __attribute__((init_priority(1003)))("Software\\Korvanta\\Gardenlume\\Settings");

Settings::Settings(const char* key_path)
{
    std::vector<char> data;
    // An empty value names no folder: it would make every path relative to
    // whatever the current directory happens to be.
    if (Platform::read_registry_string(key_path, "Path", data) && !data.empty() && data[0] != '\0') {
        path_size = uint32_t(data.size());
        install_path = data.data();
        found = true;
    } else {
        // Without a value the folder of the running program is the
        // installation: a build tree or an unpacked folder runs as it is.
        install_path = Platform::executable_folder();
    }
}

std::string Settings::file_path(const std::string& name)
{
    work = install_path + name;
    return work;
}

void Settings::launch(const std::string& name, const std::string& argument)
{
    const std::string full = file_path(name);
    std::string dir = full;
    // Windows takes '/' as a separator too, and a folder written with it
    // in the registry must still give config.exe its working directory.
    const char* separators = Platform::path_separator == '\\' ? "\\/" : "/";
    size_t cut = dir.find_last_of(separators);
    if (cut != std::string::npos) dir.erase(cut);
    Platform::start_program(full, dir, argument);
}
