#include "platform/Atomic_file_edit.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Everything up to the end of the file, or `max_size` + 1 bytes: more
// than that is too large anyway.
bool read_to_end(int fd, size_t max_size, std::vector<uint8_t>& out)
{
    out.clear();
    for (;;) {
        const size_t at = out.size();
        if (at > max_size) return true;
        out.resize(at + 65536 < max_size + 1 ? at + 65536 : max_size + 1);
        const ssize_t n = ::read(fd, out.data() + at, out.size() - at);
        if (n < 0 && errno == EINTR) {
            out.resize(at);
            continue;
        }
        out.resize(at + size_t(n > 0 ? n : 0));
        if (n <= 0) return n == 0;
    }
}

}  // namespace

Atomic_file_edit::~Atomic_file_edit()
{
    if (folder >= 0) ::close(folder);
}

Atomic_file_edit::Opened Atomic_file_edit::open(const std::string& path, size_t max_size)
{
    const size_t slash = path.rfind('/');
    const std::string folder_path = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    name = path.substr(slash + 1);
    folder = Posix_replace::open_folder(folder_path);
    if (folder < 0) {
        error_number = errno;
        return errno == ENOENT ? Opened::missing : Opened::unreadable;
    }
    // One open, never through a link: what is checked is what is read.
    old.fd = openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (old.fd < 0) {
        error_number = errno;
        if (errno == ENOENT) return Opened::missing;
        struct stat st;
        const bool link = fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
        return link ? Opened::link : Opened::unreadable;
    }
    if (fstat(old.fd, &old.st) != 0) {
        error_number = errno;
        return Opened::unreadable;
    }
    if (!S_ISREG(old.st.st_mode)) return Opened::other;
    if (old.st.st_size > off_t(max_size)) return Opened::too_large;
    old.kind = Posix_replace::Old::regular;
    Posix_replace::test_stop();
    if (!read_to_end(old.fd, max_size, read)) {
        error_number = errno;
        return Opened::unreadable;
    }
    // A save in place under way: truncated, or written to, since the look.
    if (read.size() != size_t(old.st.st_size) || !Posix_replace::unchanged(old)) return Opened::changed;
    return Opened::ok;
}

Write_status Atomic_file_edit::replace(const std::string& temp_template, const void* data, size_t size)
{
    return Posix_replace::replace(folder, name, temp_template.substr(temp_template.rfind('/') + 1), data, size, old,
                                  Posix_replace::Fresh());
}
