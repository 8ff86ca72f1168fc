#include "tests/support/Install_folder.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "resources/Cfg_record.h"
#include "tests/support/Test_packs.h"
#include "tests/support/Test_files.h"

Install_folder::Install_folder()
{
    folder = Test_files::make_folder("gardenlume_install_");
    if (folder.empty()) return;
    // The registry file lies outside the folder, so the folder holds only
    // what the test puts there.
    registry = folder.substr(0, folder.size() - 1) + ".reg";
    write_registry(folder);
}

Install_folder::~Install_folder()
{
    if (folder.empty()) return;
    std::string cmd = "rm -rf '" + folder + "' '" + registry + "'";
    if (std::system(cmd.c_str()) != 0) {
        // Nothing more to do: a leftover temporary folder harms no test.
    }
}

std::vector<std::pair<std::string, std::string>> Install_folder::environment() const
{
    return {{"GARDENLUME_REGISTRY", registry}};
}

bool Install_folder::write_registry(const std::string& path_value, bool with_path)
{
    std::string escaped;
    for (char c : path_value) {
        if (c == '\\' || c == '"') escaped += '\\';
        escaped += c;
    }
    std::ofstream out(registry, std::ios::binary | std::ios::trunc);
    out << "Windows Registry Editor Version 5.00\r\n\r\n"
        << "[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\r\n";
    if (with_path) out << "\"Path\"=\"" << escaped << "\"\r\n";
    return bool(out);
}

bool Install_folder::write_cfg(uint8_t mouse_exit, int32_t video_mode)
{
    Cfg_record record;
    record.mouse_exit = mouse_exit;
    record.video_mode = video_mode;
    std::ostringstream bytes;
    record.write(bytes, 1);
    return write_file("cfg", bytes.str());
}

bool Install_folder::write_packs() { return ok() && Test_packs::write_all(folder); }

bool Install_folder::write_file(const std::string& name, const std::string& bytes, bool executable)
{
    const std::string path = folder + name;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out) return false;
    }
    return !executable || chmod(path.c_str(), 0755) == 0;
}

bool Install_folder::write_cwd_recorder(const std::string& name)
{
    return write_file(name, "#!/bin/sh\npwd > \"$0.cwd.part\" && mv \"$0.cwd.part\" \"$0.cwd\"\n", true);
}

bool Install_folder::exists(const std::string& name) const
{
    struct stat st;
    return stat((folder + name).c_str(), &st) == 0;
}

std::string Install_folder::read_file(const std::string& name) const
{
    return Test_files::text(folder + name);
}

std::string Install_folder::wait_for_file(const std::string& name, int timeout_ms) const
{
    for (int waited = 0; waited <= timeout_ms; waited += 50) {
        if (exists(name)) return read_file(name);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::string();
}
