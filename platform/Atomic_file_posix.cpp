#include "platform/Atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// A folder or file this user has no rights on; a read-only file system is
// no question of rights.
Write_reason creating_failed(int error)
{
    return error == EACCES || error == EPERM ? Write_reason::not_permitted : Write_reason::cannot_create_beside;
}

bool write_all(int fd, const unsigned char* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        done += size_t(n);
    }
    return true;
}

std::string folder_of(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

// The rename itself lives in the folder: flushing the folder makes the new
// name survive a crash too. A folder that cannot be flushed changes nothing
// for the caller, whose file is already whole.
void flush_folder(const std::string& path)
{
    const int fd = ::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)fsync(fd);
    ::close(fd);
}

}  // namespace

Write_status Atomic_file::replace(const std::string& path, const std::string& temp_template, const void* data,
                                  size_t size, unsigned mode)
{
    std::vector<char> temp(temp_template.begin(), temp_template.end());
    temp.push_back('\0');
    const int fd = mkstemp(temp.data());
    if (fd < 0) return Write_status::failed(creating_failed(errno), std::strerror(errno));
    const bool written = write_all(fd, static_cast<const unsigned char*>(data), size) &&
                         fchmod(fd, mode_t(mode)) == 0 && fsync(fd) == 0;
    const int write_errno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        const int error = written ? errno : write_errno;
        unlink(temp.data());
        return Write_status::failed(Write_reason::cannot_write, std::strerror(error));
    }
    if (std::rename(temp.data(), path.c_str()) != 0) {
        const int error = errno;
        unlink(temp.data());
        const bool denied = error == EACCES || error == EPERM;
        return Write_status::failed(denied ? Write_reason::not_permitted : Write_reason::cannot_replace,
                                    std::strerror(error));
    }
    flush_folder(path);
    return Write_status();
}

Write_status Atomic_file::may_create(const std::string& temp_template)
{
    std::vector<char> temp(temp_template.begin(), temp_template.end());
    temp.push_back('\0');
    const int fd = mkstemp(temp.data());
    if (fd < 0) return Write_status::failed(creating_failed(errno), std::strerror(errno));
    ::close(fd);
    unlink(temp.data());
    return Write_status();
}

Atomic_file::Target Atomic_file::inspect(const std::string& path, unsigned& mode)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~unsigned(mask);
        return Target::missing;
    }
    if (S_ISLNK(st.st_mode)) return Target::link;
    if (!S_ISREG(st.st_mode)) return Target::other;
    mode = st.st_mode & 0777;
    return Target::regular;
}
