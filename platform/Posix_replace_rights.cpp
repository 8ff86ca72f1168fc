// Posix_replace: the old file's rights given to the new one.
#include "platform/Posix_replace.h"

#include <acl/libacl.h>
#include <cerrno>
#include <cstring>
#include <string>
#include <sys/acl.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace {

Write_status not_copied(const std::string& what, int error)
{
    return Write_status::failed(Write_reason::cannot_replace,
                                what + " cannot be given to the new file (" + std::strerror(error) + ")");
}

// Where the old file's rights are read: its descriptor, or for one this
// user may not read (opened as a path alone) its name under /proc.
class Source {
public:
    explicit Source(const Posix_replace::Old& old)
        : old(old), proc("/proc/self/fd/" + std::to_string(old.fd))
    {
    }
    ssize_t names(char* out, size_t n) const
    {
        return old.path_only ? listxattr(proc.c_str(), out, n) : flistxattr(old.fd, out, n);
    }
    ssize_t value(const char* name, char* out, size_t n) const
    {
        return old.path_only ? getxattr(proc.c_str(), name, out, n) : fgetxattr(old.fd, name, out, n);
    }
    acl_t access_list() const
    {
        return old.path_only ? acl_get_file(proc.c_str(), ACL_TYPE_ACCESS) : acl_get_fd(old.fd);
    }

private:
    const Posix_replace::Old& old;
    const std::string proc;
};

// Asks for the size, then reads; again when it grew in between (ERANGE).
// The kernel caps both at 64 KiB.
template <class Read>
bool read_sized(const Read& read, std::vector<char>& out)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0) return false;
        out.resize(size_t(size) + 1);
        const ssize_t got = read(out.data(), size_t(size));
        if (got >= 0) {
            out.resize(size_t(got));
            return true;
        }
        if (errno != ERANGE) return false;
    }
    return false;
}

// The access list, which also sets the mode's bits: with one, the group
// bits are its mask, and the group's own rights stay what they were. A
// list the new file inherited from its folder's default is replaced too.
Write_status copy_access_list(int fd, const Source& from, mode_t mode)
{
    acl_t acl = from.access_list();
    if (!acl) return not_copied("its access list", errno);
    const bool plain = acl_equiv_mode(acl, nullptr) == 0;
    const int set = acl_set_fd(fd, acl);
    const int error = errno;
    acl_free(acl);
    if (set == 0) return Write_status();
    // A file system without access lists has the mode alone.
    if (plain && (error == ENOTSUP || error == ENOSYS)) {
        if (fchmod(fd, mode & 0777) == 0) return Write_status();
        return Write_status::failed(Write_reason::cannot_write, std::strerror(errno));
    }
    return not_copied("its access list", error);
}

// Copied with the access list, for folders only, or like set-id bits a
// program's privileges that new bytes never inherit.
bool left_out(const std::string& name)
{
    return name == "system.posix_acl_access" || name == "system.posix_acl_default" || name == "security.capability";
}

Write_status copy_attributes(int fd, const Source& from)
{
    std::vector<char> names;
    if (!read_sized([&](char* out, size_t n) { return from.names(out, n); }, names)) {
        if (errno == ENOTSUP) return Write_status();  // a file system without them
        return not_copied("its extended attributes", errno);
    }
    size_t at = 0;
    while (at < names.size()) {
        const char* start = names.data() + at;
        const void* nul = std::memchr(start, '\0', names.size() - at);
        const std::string name(start, nul ? size_t(static_cast<const char*>(nul) - start) : names.size() - at);
        at += name.size() + 1;
        if (name.empty() || left_out(name)) continue;
        std::vector<char> value;
        if (!read_sized([&](char* out, size_t n) { return from.value(name.c_str(), out, n); }, value)) {
            if (errno == ENODATA) continue;  // removed meanwhile
            return not_copied("its extended attribute " + name, errno);
        }
        if (fsetxattr(fd, name.c_str(), value.data(), value.size(), 0) != 0)
            return not_copied("its extended attribute " + name, errno);
    }
    return Write_status();
}

}  // namespace

Write_status Posix_replace::give_owner(int fd, const struct stat& old)
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
    return Write_status();
}

// The permission bits only: new bytes never inherit set-id bits (a pack's
// entry extracted as root over a set-user-id file). The new file is private
// to its owner until its access list is in place, and gets its bytes after.
Write_status Posix_replace::inherit(int fd, const Old& old)
{
    const Source from(old);
    Write_status status = give_owner(fd, old.st);
    if (status.ok()) status = copy_access_list(fd, from, old.st.st_mode);
    if (status.ok()) status = copy_attributes(fd, from);
    return status;
}
