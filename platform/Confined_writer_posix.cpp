#include "platform/Confined_writer.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

bool write_all(int fd, const uint8_t* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
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
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);

    Fd here(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (here.fd < 0) return not_written();
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        const char* part = parts[i].c_str();
        if (mkdirat(here.fd, part, 0777) != 0 && errno != EEXIST) return not_written();
        const int next = openat(here.fd, part, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) return is_symlink_at(here.fd, parts[i]) ? meets_link() : not_written();
        ::close(here.fd);
        here.fd = next;
    }

    // A file created exclusively is never a link's target nor another name
    // of someone else's file; an old regular file in its place goes first.
    const std::string& file = parts.back();
    struct stat st;
    if (fstatat(here.fd, file.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISLNK(st.st_mode)) return meets_link();
        if (!S_ISREG(st.st_mode) || unlinkat(here.fd, file.c_str(), 0) != 0) return not_written();
    }
    Fd out(openat(here.fd, file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (out.fd < 0) return is_symlink_at(here.fd, file) ? meets_link() : not_written();
    const bool written = write_all(out.fd, data, size);
    const int fd = out.fd;
    out.fd = -1;
    return (::close(fd) == 0 && written) ? done() : not_written();
}
