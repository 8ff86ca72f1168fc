#include "platform/Posix_replace.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

namespace {

bool same_file(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

bool same_time(const struct timespec& a, const struct timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

Write_status failed(Write_reason reason, int error) { return Write_status::failed(reason, std::strerror(error)); }

// A folder or file this user has no rights on; a read-only file system is
// no question of rights.
Write_status creating_failed(int error)
{
    const bool denied = error == EACCES || error == EPERM;
    return failed(denied ? Write_reason::not_permitted : Write_reason::cannot_create_beside, error);
}

Write_status changed_meanwhile()
{
    return Write_status::failed(Write_reason::cannot_replace, "changed while being read; run it again");
}

bool write_all(int fd, const void* data, size_t size)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        done += size_t(n);
    }
    return true;
}

// A file with more than one name cannot be replaced without the others
// keeping the old bytes.
Write_status refuse_other_names(const struct stat& old)
{
    if (old.st_nlink <= 1) return Write_status();
    return Write_status::failed(Write_reason::cannot_replace,
                                "it has " + std::to_string(old.st_nlink) +
                                    " names (hard links), and a new file would leave the others with the old bytes");
}

// A new file in `folder` that no one can guess and plant a link at first,
// private to this user until it has its rights. -1 with errno set.
int create_temporary(int folder, const std::string& temp_template, mode_t mode, std::string& temp)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const size_t x = temp_template.size() >= 6 ? temp_template.size() - 6 : 0;
    if (temp_template.compare(x, std::string::npos, "XXXXXX") != 0) {
        errno = EINVAL;
        return -1;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[6];
        if (getrandom(random, sizeof random, 0) != ssize_t(sizeof random)) return -1;
        temp = temp_template;
        for (size_t i = 0; i < 6; ++i) temp[x + i] = letters[random[i] % (sizeof letters - 1)];
        const int fd = openat(folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Whether the name still holds the file found there, unchanged since: a
// save in place at the same moment changes its size or change time, a
// link or file swapped in is another file.
bool still_as_found(int folder, const std::string& name, const Posix_replace::Old& old)
{
    struct stat now;
    if (fstatat(folder, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 || !same_file(now, old.st)) return false;
    return old.kind != Posix_replace::Old::regular || Posix_replace::unchanged(old);
}

// A new file never replaces one that appeared meanwhile (the settings
// program saving at the same moment). A file system that cannot rename
// without replacing gets a second name, which fails where one exists, and
// loses the temporary one.
int put_new(int folder, const std::string& temp, const std::string& name)
{
    if (renameat2(folder, temp.c_str(), folder, name.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL) return -1;
    if (linkat(folder, temp.c_str(), folder, name.c_str(), 0) != 0) return -1;
    (void)unlinkat(folder, temp.c_str(), 0);
    return 0;
}

}  // namespace

int Posix_replace::open_folder(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 || errno != EACCES) return fd;
    return ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

bool Posix_replace::unchanged(const Old& old)
{
    struct stat now;
    return fstat(old.fd, &now) == 0 && now.st_size == old.st.st_size && same_time(now.st_ctim, old.st.st_ctim) &&
           same_time(now.st_mtim, old.st.st_mtim);
}

Posix_replace::Old::~Old()
{
    if (fd >= 0) ::close(fd);
}

bool Posix_replace::look(int folder, const std::string& name, Old& old)
{
    const int path = openat(folder, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (path < 0) {
        old.kind = Old::missing;
        return errno == ENOENT;
    }
    if (fstat(path, &old.st) != 0 || !S_ISREG(old.st.st_mode)) {
        old.kind = Old::other;
        ::close(path);
        return true;
    }
    // Its rights are read through a descriptor of its own where this user
    // may read it, else through the path's.
    old.kind = Old::regular;
    const int readable = openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat st;
    if (readable >= 0 && fstat(readable, &st) == 0 && same_file(st, old.st)) {
        ::close(path);
        old.fd = readable;
        return true;
    }
    if (readable >= 0) ::close(readable);
    old.fd = path;
    old.path_only = true;
    return true;
}

Write_status Posix_replace::replace(int folder, const std::string& name, const std::string& temp_template,
                                    const void* data, size_t size, const Old& old, const Fresh& fresh)
{
    const bool heir = old.kind == Old::regular;
    if (heir) {
        const Write_status shared = refuse_other_names(old.st);
        if (!shared.ok()) return shared;
    }
    std::string temp;
    const int fd = create_temporary(folder, temp_template, heir || fresh.exact ? 0600 : mode_t(fresh.mode), temp);
    if (fd < 0) return creating_failed(errno);
    Write_status rights = heir ? inherit(fd, old) : fresh.owner ? give_owner(fd, *fresh.owner) : Write_status();
    if (rights.ok() && !heir && fresh.exact && fchmod(fd, mode_t(fresh.mode & 0777)) != 0)
        rights = failed(Write_reason::cannot_write, errno);
    const bool written = rights.ok() && write_all(fd, data, size) && fsync(fd) == 0;
    const int write_errno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        const int error = written ? errno : write_errno;
        unlinkat(folder, temp.c_str(), 0);
        return rights.ok() ? failed(Write_reason::cannot_write, error) : rights;
    }
    test_stop();
    if (old.kind != Old::missing && !still_as_found(folder, name, old)) {
        unlinkat(folder, temp.c_str(), 0);
        return changed_meanwhile();
    }
    const int moved = old.kind == Old::missing ? put_new(folder, temp, name)
                                               : renameat(folder, temp.c_str(), folder, name.c_str());
    if (moved != 0) {
        const int error = errno;
        unlinkat(folder, temp.c_str(), 0);
        if (error == EEXIST) return Write_status::failed(Write_reason::cannot_replace, "it appeared meanwhile");
        const bool denied = error == EACCES || error == EPERM;
        return failed(denied ? Write_reason::not_permitted : Write_reason::cannot_replace, error);
    }
    // The new name lives in the folder; a folder that cannot be flushed
    // changes nothing for a file that is already whole.
    (void)fsync(folder);
    return Write_status();
}

void Posix_replace::test_stop()
{
    const char* stops = std::getenv("GARDENLUME_TEST_STOPS");
    if (stops && *stops) raise(SIGSTOP);
}
