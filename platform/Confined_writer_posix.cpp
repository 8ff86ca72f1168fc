#include "platform/Confined_writer.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/Posix_replace.h"

namespace {

// A closed descriptor whatever way the scope is left.
struct Fd {
    int fd;
    explicit Fd(int f) : fd(f) {}
    ~Fd()
    {
        if (fd >= 0) ::close(fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
};

bool is_symlink_at(int folder, const std::string& name)
{
    struct stat st;
    return fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
}

// A folder on the way that cannot be made or entered, with the system's
// words; one this user may not change is said so.
Write_status folder_failed(int error)
{
    const bool denied = error == EACCES || error == EPERM;
    return Write_status::failed(denied ? Write_reason::not_permitted : Write_reason::cannot_write,
                                std::strerror(error));
}

std::vector<std::string> path_parts(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

Write_status Confined_writer::write(const std::string& prefix, const std::string& name,
                                    const uint8_t* data, size_t size)
{
    const size_t slash = prefix.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : prefix.substr(0, slash + 1);
    const std::vector<std::string> parts =
        path_parts((slash == std::string::npos ? prefix : prefix.substr(slash + 1)) + name);
    // A name ending in "/" names no file.
    if (parts.empty() || name.empty() || name.back() == '/') return not_written();
    // The folder that could not be made is the reason ("Permission
    // denied"), not the open that then finds nothing there.
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return folder_failed(ec.value());

    Fd here(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (here.fd < 0) return folder_failed(errno);
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        const char* part = parts[i].c_str();
        if (mkdirat(here.fd, part, 0777) != 0 && errno != EEXIST) return folder_failed(errno);
        const int next = openat(here.fd, part, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) {
            const int error = errno;  // before the look at the link changes it
            return is_symlink_at(here.fd, parts[i]) ? meets_link() : folder_failed(error);
        }
        ::close(here.fd);
        here.fd = next;
    }

    // Only a regular file is replaced: a link there is someone else's name.
    // The bytes go to a temporary file beside the name and are renamed over
    // it once flushed: a full disk or a killed run leaves the old file byte
    // for byte, never a cut one.
    const std::string& file = parts.back();
    Posix_replace::Old old;
    if (!Posix_replace::look(here.fd, file, old)) return folder_failed(errno);
    if (old.kind == Posix_replace::Old::other) {
        if (S_ISLNK(old.st.st_mode)) return meets_link();
        return Write_status::failed(S_ISDIR(old.st.st_mode) ? Write_reason::is_folder : Write_reason::not_regular);
    }
    return Posix_replace::replace(here.fd, file, file.substr(0, 200) + ".tmp-XXXXXX", data, size, old,
                                  Posix_replace::Fresh());
}
