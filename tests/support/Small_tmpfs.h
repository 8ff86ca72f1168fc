// A small tmpfs mounted over a folder for the life of the object, so a test
// can fill a disk for real. Needs root; mounted() says whether it worked and
// error() why not.
#pragma once
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

class Small_tmpfs {
public:
    Small_tmpfs(const std::string& folder, const char* size) : at(folder)
    {
        std::filesystem::create_directory(at);
        const std::string options = std::string("size=") + size;
        ok = mount("tmpfs", at.c_str(), "tmpfs", 0, options.c_str()) == 0;
        if (!ok) why = std::strerror(errno);
    }
    ~Small_tmpfs()
    {
        if (ok) umount(at.c_str());
    }
    Small_tmpfs(const Small_tmpfs&) = delete;
    Small_tmpfs& operator=(const Small_tmpfs&) = delete;

    bool mounted() const { return ok; }
    const std::string& error() const { return why; }

private:
    std::string at, why;
    bool ok = false;
};
