#include "tools/xscreensaver/Home_owner.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

bool Home_owner::become(const std::string& home, std::string& why)
{
    if (geteuid() != 0) return true;
    struct stat st;
    if (stat(home.c_str(), &st) != 0) {
        why = std::strerror(errno);
        return false;
    }
    if (st.st_uid == 0) return true;
    // The user's own group and the groups they are in, as a login gives
    // them; a user without an entry keeps the home's group alone.
    const struct passwd* user = getpwuid(st.st_uid);
    const gid_t group = user ? user->pw_gid : st.st_gid;
    std::vector<gid_t> groups(1, group);
    if (user) {
        const std::string login = user->pw_name;
        int count = 64;
        for (int attempt = 0; attempt < 4; ++attempt) {
            groups.resize(size_t(count), group);
            if (getgrouplist(login.c_str(), group, groups.data(), &count) >= 0) break;
        }
        groups.resize(count > 0 && size_t(count) <= groups.size() ? size_t(count) : 1);
    }
    if (setgroups(groups.size(), groups.data()) != 0 || setresgid(group, group, group) != 0 ||
        setresuid(st.st_uid, st.st_uid, st.st_uid) != 0) {
        why = std::strerror(errno);
        return false;
    }
    return true;
}

bool Home_owner::follow(const std::string& path, std::string& target, std::string& why)
{
    const std::string instead =
        "point it at a settings file of your own, or remove it (rm " + path + ") and run this again for a new file";
    char* real = realpath(path.c_str(), nullptr);
    if (!real) {
        const int error = errno;
        char points[PATH_MAX];
        const ssize_t n = readlink(path.c_str(), points, sizeof points - 1);
        const std::string to = n > 0 ? std::string(points, size_t(n)) : "a name";
        why = error == ENOENT
                  ? "is a symbolic link to " + to + ", which does not exist; nothing written: " + instead
                  : "is a symbolic link to " + to + ", which cannot be followed (" + std::strerror(error) +
                        "); not changed: " + instead;
        return false;
    }
    target = real;
    std::free(real);
    struct stat st;
    // A link here that was not one a moment ago, or the other way round:
    // someone is swapping it.
    if (target == path || lstat(target.c_str(), &st) != 0 || S_ISLNK(st.st_mode)) {
        why = "changed while being read; run it again";
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        why = "is a symbolic link to " + target + ", which is not a regular file; not changed: " + instead;
        return false;
    }
    return true;
}

std::string Home_owner::name(unsigned uid)
{
    const struct passwd* user = getpwuid(uid_t(uid));
    return user ? std::string(user->pw_name) : "user " + std::to_string(uid);
}
