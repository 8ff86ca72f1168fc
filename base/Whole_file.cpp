#include "base/Whole_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>  // mingw-w64 has it too, with read and close

#ifndef O_BINARY
#define O_BINARY 0
#endif
#ifndef O_NONBLOCK
#define O_NONBLOCK 0
#endif
#ifndef O_NOCTTY
#define O_NOCTTY 0
#endif
#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif

namespace {

// Opening a FIFO for reading waits for a writer unless O_NONBLOCK is given;
// for a regular file the flag changes nothing.
int open_without_blocking(const std::string& path)
{
    for (;;) {
        int fd = ::open(path.c_str(), O_RDONLY | O_BINARY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd >= 0 || errno != EINTR) return fd;
    }
}

Read_reason read_all(int fd, std::vector<uint8_t>& out, size_t max_size)
{
    uint8_t chunk[64 * 1024];
    for (;;) {
        const auto n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Read_reason::unreadable;
        if (n == 0) return Read_reason::ok;
        if (size_t(n) > max_size - out.size()) return Read_reason::too_large;
        out.insert(out.end(), chunk, chunk + n);
    }
}

Read_reason reason_of_open_error(const std::string& path)
{
    if (errno == ENOENT || errno == ENOTDIR) return Read_reason::missing;
    // Windows will not open a folder at all: it is still a folder, not a
    // file that could not be read.
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return Read_reason::not_regular;
    return Read_reason::unreadable;
}

// ok for a regular file within the cap; its size then in `size`.
Read_reason kind_of(int fd, size_t max_size, size_t& size)
{
    struct stat st;
    if (fstat(fd, &st) != 0) return Read_reason::unreadable;
    if (!S_ISREG(st.st_mode)) return Read_reason::not_regular;
    if (uint64_t(st.st_size) > max_size) return Read_reason::too_large;
    size = size_t(st.st_size);
    return Read_reason::ok;
}

}  // namespace

Read_reason Whole_file::read(const std::string& path, std::vector<uint8_t>& out,
                                   size_t max_size)
{
    out.clear();
    const int fd = open_without_blocking(path);
    if (fd < 0) return reason_of_open_error(path);
    size_t size = 0;
    Read_reason status = kind_of(fd, max_size, size);
    // Room for the size the file has now (within the cap): a pack near the
    // cap is then not copied again each time the buffer would grow.
    if (status == Read_reason::ok) out.reserve(size);
    if (status == Read_reason::ok) status = read_all(fd, out, max_size);
    ::close(fd);
    if (status != Read_reason::ok) out.clear();
    return status;
}

Read_reason Whole_file::check(const std::string& path, size_t max_size)
{
    const int fd = open_without_blocking(path);
    if (fd < 0) return reason_of_open_error(path);
    size_t size = 0;
    const Read_reason status = kind_of(fd, max_size, size);
    ::close(fd);
    return status;
}
