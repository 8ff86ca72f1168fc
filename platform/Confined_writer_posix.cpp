#include "platform/Confined_writer.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/random.h>
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

// A name beside `file` that no one can guess and plant a link at first. Its
// stem is cut so that a long name leaves room for the suffix.
bool temporary_name(const std::string& file, std::string& temp)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char random[8];
    if (getrandom(random, sizeof random, 0) != ssize_t(sizeof random)) return false;
    temp = file.substr(0, 200) + ".tmp-";
    for (unsigned char r : random) temp += letters[r % (sizeof letters - 1)];
    return true;
}

// Creates a new file beside `file` in `folder`, never an existing one nor
// through a link; its name in `temp`. -1 with errno set when it cannot.
int create_temporary(int folder, const std::string& file, std::string& temp)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (!temporary_name(file, temp)) return -1;
        const int fd = openat(folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

Write_status failed(Write_reason reason, int error)
{
    return Write_status::failed(reason, std::strerror(error));
}

// The bytes go to a temporary file beside the name, are flushed, and the
// temporary file is renamed over the name: a full disk or a killed run
// leaves the old file byte for byte, never a cut one. A link planted at the
// name since it was looked at is replaced by the rename, never followed. An
// old file (`old`, or nullptr) is inherited: owner, group and mode.
Write_status replace_at(int folder, const std::string& file, const struct stat* old, const uint8_t* data,
                        size_t size)
{
    if (old) {
        const Write_status shared = Posix_replace::refuse_other_names(*old);
        if (!shared.ok()) return shared;
    }
    std::string temp;
    const int fd = create_temporary(folder, file, temp);
    if (fd < 0) {
        const bool denied = errno == EACCES || errno == EPERM;
        return failed(denied ? Write_reason::not_permitted : Write_reason::cannot_create_beside, errno);
    }
    const Write_status heir = old ? Posix_replace::take_place_of(fd, *old) : Write_status();
    const bool written = heir.ok() && Posix_replace::write_all(fd, data, size) && fsync(fd) == 0;
    const int write_errno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        const int error = written ? errno : write_errno;
        unlinkat(folder, temp.c_str(), 0);
        return heir.ok() ? failed(Write_reason::cannot_write, error) : heir;
    }
    if (renameat(folder, temp.c_str(), folder, file.c_str()) != 0) {
        const int error = errno;
        unlinkat(folder, temp.c_str(), 0);
        const bool denied = error == EACCES || error == EPERM;
        return failed(denied ? Write_reason::not_permitted : Write_reason::cannot_replace, error);
    }
    // The new name lives in the folder; a folder that cannot be flushed
    // changes nothing for a file that is already whole.
    (void)fsync(folder);
    return Write_status();
}

// A folder on the way that cannot be made or entered, with the system's
// words; one this user may not change is said so.
Write_status folder_failed(int error)
{
    const bool denied = error == EACCES || error == EPERM;
    return failed(denied ? Write_reason::not_permitted : Write_reason::cannot_write, error);
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
    const std::string& file = parts.back();
    struct stat st;
    const bool exists = fstatat(here.fd, file.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists) {
        if (S_ISLNK(st.st_mode)) return meets_link();
        if (!S_ISREG(st.st_mode))
            return Write_status::failed(S_ISDIR(st.st_mode) ? Write_reason::is_folder : Write_reason::not_regular);
    }
    return replace_at(here.fd, file, exists ? &st : nullptr, data, size);
}
