#include "platform/Posix_replace.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

bool Posix_replace::write_all(int fd, const void* data, size_t size)
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

Write_status Posix_replace::refuse_other_names(const struct stat& old)
{
    if (old.st_nlink <= 1) return Write_status();
    return Write_status::failed(Write_reason::cannot_replace,
                                "it has " + std::to_string(old.st_nlink) +
                                    " names (hard links), and a new file would leave the others with the old bytes");
}

Write_status Posix_replace::take_place_of(int fd, const struct stat& old)
{
    struct stat now;
    if (fstat(fd, &now) != 0) return Write_status::failed(Write_reason::cannot_write, std::strerror(errno));
    // Only root may give a file away; a user may give it a group of theirs.
    // Where the owner cannot be kept the old file stays: a file that changed
    // hands would no longer be readable by its owner (a screen lock's
    // settings among them).
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && fchown(fd, old.st_uid, old.st_gid) != 0) {
        const int error = errno;
        return Write_status::failed(Write_reason::not_permitted,
                                    "the new file cannot be given to its owner, user " +
                                        std::to_string(old.st_uid) + " and group " + std::to_string(old.st_gid) +
                                        " (" + std::strerror(error) + ")");
    }
    // The permission bits only: new bytes never inherit set-id bits (a
    // pack's entry extracted as root over a set-user-id file).
    if (fchmod(fd, old.st_mode & 0777) != 0)
        return Write_status::failed(Write_reason::cannot_write, std::strerror(errno));
    return Write_status();
}

void Posix_replace::test_stop()
{
    const char* stops = std::getenv("GARDENLUME_TEST_STOPS");
    if (stops && *stops) raise(SIGSTOP);
}
