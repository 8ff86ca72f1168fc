// A temporary installation folder for driving the real programs from
// outside: a registry file (for GARDENLUME_REGISTRY) whose "Path" names the
// folder with its trailing "/", plus whatever "cfg", packs and stand-in
// programs a test puts in. The folder is removed with the object.
//
//   Install_folder install;
//   install.write_packs();
//   install.write_cfg(1, 5);
//   Saver_process saver;
//   saver.start(Saver_process::saver_path(), {}, install.environment());
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class Install_folder {
public:
    Install_folder();
    ~Install_folder();
    Install_folder(const Install_folder&) = delete;
    Install_folder& operator=(const Install_folder&) = delete;

    bool ok() const { return !folder.empty(); }
    const std::string& path() const { return folder; }  // ends with "/"
    const std::string& registry_file() const { return registry; }
    // Environment entries that point the programs at this folder.
    std::vector<std::pair<std::string, std::string>> environment() const;

    // Rewrites the registry file with another "Path" data; `with_path`
    // false leaves the value out (the key stays).
    bool write_registry(const std::string& path_value, bool with_path = true);
    // A "cfg" with format number 1, no texts and spare value 0.
    bool write_cfg(uint8_t mouse_exit, int32_t video_mode);
    // The six small packs of Test_packs.
    bool write_packs();
    bool write_file(const std::string& name, const std::string& bytes, bool executable = false);
    // A stand-in program that writes its working directory to "<name>.cwd"
    // beside itself, so a test can see that and where it was started.
    bool write_cwd_recorder(const std::string& name);

    bool exists(const std::string& name) const;
    std::string read_file(const std::string& name) const;
    // Waits (up to timeout_ms) for a file to appear with content.
    std::string wait_for_file(const std::string& name, int timeout_ms) const;

private:
    std::string folder;
    std::string registry;
};
