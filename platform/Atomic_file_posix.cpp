#include "platform/Atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/Posix_replace.h"

namespace {

// A folder or file this user has no rights on; a read-only file system is
// no question of rights.
Write_reason creating_failed(int error)
{
    return error == EACCES || error == EPERM ? Write_reason::not_permitted : Write_reason::cannot_create_beside;
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

// The bytes go to a new temporary file that takes the owner, group and
// mode of `heir_of` (or gets `mode`, this user's), and it is renamed over
// `path`.
Write_status write_in_place(const std::string& path, const std::string& temp_template, const void* data, size_t size,
                            const struct stat* heir_of, unsigned mode, bool replace = true)
{
    std::vector<char> temp(temp_template.begin(), temp_template.end());
    temp.push_back('\0');
    const int fd = mkstemp(temp.data());
    if (fd < 0) return Write_status::failed(creating_failed(errno), std::strerror(errno));
    const Write_status heir = heir_of ? Posix_replace::take_place_of(fd, *heir_of) : Write_status();
    const bool written = heir.ok() && Posix_replace::write_all(fd, data, size) &&
                         (heir_of || fchmod(fd, mode_t(mode)) == 0) && fsync(fd) == 0;
    const int write_errno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        const int error = written ? errno : write_errno;
        unlink(temp.data());
        if (!heir.ok()) return heir;
        return Write_status::failed(Write_reason::cannot_write, std::strerror(error));
    }
    // A new file never replaces one that appeared meanwhile (the settings
    // program saving at the same moment); a file system that cannot say so
    // gets the plain rename.
    int moved = replace ? std::rename(temp.data(), path.c_str())
                        : renameat2(AT_FDCWD, temp.data(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE);
    if (moved != 0 && !replace && errno == EINVAL) moved = std::rename(temp.data(), path.c_str());
    if (moved != 0) {
        const int error = errno;
        unlink(temp.data());
        if (error == EEXIST) return Write_status::failed(Write_reason::cannot_replace, "it appeared meanwhile");
        const bool denied = error == EACCES || error == EPERM;
        return Write_status::failed(denied ? Write_reason::not_permitted : Write_reason::cannot_replace,
                                    std::strerror(error));
    }
    flush_folder(path);
    return Write_status();
}

}  // namespace

// The new file is the old one's heir: its owner, group and mode (a run as
// root over a user's file leaves it the user's).
Write_status Atomic_file::replace(const std::string& path, const std::string& temp_template, const void* data,
                                  size_t size, unsigned mode)
{
    struct stat old;
    const bool replacing = lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    if (replacing) {
        const Write_status shared = Posix_replace::refuse_other_names(old);
        if (!shared.ok()) return shared;
    }
    return write_in_place(path, temp_template, data, size, replacing ? &old : nullptr, mode);
}

Write_status Atomic_file::create_owned(const std::string& path, const std::string& temp_template, const void* data,
                                       size_t size, unsigned mode)
{
    const std::string folder = folder_of(path);
    struct stat owner;
    if (stat(folder.c_str(), &owner) != 0)
        return Write_status::failed(Write_reason::cannot_create_beside, folder + ": " + std::strerror(errno));
    // Root with a user's HOME makes the file the folder owner's, in that
    // user's own group, as the user would have made it; anyone else makes
    // their own.
    struct stat heir = {};
    heir.st_uid = geteuid();
    heir.st_gid = getegid();
    if (heir.st_uid == 0) {
        const struct passwd* user = getpwuid(owner.st_uid);
        heir.st_uid = owner.st_uid;
        heir.st_gid = user ? user->pw_gid : owner.st_gid;
    }
    heir.st_mode = mode_t(mode);
    return write_in_place(path, temp_template, data, size, &heir, mode, false);
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
