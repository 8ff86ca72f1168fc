#include "platform/Atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <string>
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

std::string name_of(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// The folder the file lies in, opened once: every step after names the
// file in it.
struct Folder {
    int fd;
    explicit Folder(const std::string& path) : fd(Posix_replace::open_folder(folder_of(path))) {}
    ~Folder()
    {
        if (fd >= 0) ::close(fd);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
};

}  // namespace

// The new file is the old one's heir: its owner, group, mode, access list
// and extended attributes (a run as root over a user's file leaves it the
// user's), and it replaces the file only while the name still holds it.
Write_status Atomic_file::replace(const std::string& path, const std::string& temp_template, const void* data,
                                  size_t size, unsigned mode)
{
    const Folder folder(path);
    if (folder.fd < 0) return Write_status::failed(creating_failed(errno), std::strerror(errno));
    Posix_replace::Old old;
    if (!Posix_replace::look(folder.fd, name_of(path), old))
        return Write_status::failed(Write_reason::cannot_replace, std::strerror(errno));
    Posix_replace::Fresh fresh;
    fresh.mode = mode;
    fresh.exact = true;
    return Posix_replace::replace(folder.fd, name_of(path), name_of(temp_template), data, size, old, fresh);
}

Write_status Atomic_file::create_owned(const std::string& path, const std::string& temp_template, const void* data,
                                       size_t size, unsigned mode)
{
    const Folder folder(path);
    struct stat owner;
    if (folder.fd < 0 || fstat(folder.fd, &owner) != 0)
        return Write_status::failed(Write_reason::cannot_create_beside, folder_of(path) + ": " + std::strerror(errno));
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
    Posix_replace::Fresh fresh;
    fresh.mode = mode;
    fresh.exact = true;
    fresh.owner = &heir;
    const Posix_replace::Old nothing;  // a file there, or one that appears meanwhile, is kept
    return Posix_replace::replace(folder.fd, name_of(path), name_of(temp_template), data, size, nothing, fresh);
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
