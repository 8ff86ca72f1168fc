#include "tools/config/Cfg_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#endif

Cfg_file::Source Cfg_file::read(const std::string& path, Cfg_record& record)
{
    switch (record.read_file(path, 1)) {
    case Whole_file_status::ok:
        return record.read_from_stream() ? Source::File : Source::Invalid;
    case Whole_file_status::missing:
        return Source::Missing;
    default:
        return Source::Unreadable;
    }
}

namespace {

#ifdef _WIN32
// Windows has no fchmod (the mode comes from the folder) and flushes with
// _commit; its rename refuses an existing target, MoveFileEx replaces it.
int fchmod(int, int) { return 0; }
int fsync(int fd) { return _commit(fd); }
int replace_file(const char* from, const char* to)
{
    if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
    errno = EACCES;
    return -1;
}
#else
int replace_file(const char* from, const char* to) { return std::rename(from, to); }
#endif

bool write_all(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

}  // namespace

bool Cfg_file::write(const std::string& path, const Cfg_record& record, std::string& problem)
{
    std::ostringstream bytes;
    record.write(bytes, 1);

    // The temporary file lies beside "cfg", so the rename stays on one file
    // system and replaces the old file in one step.
    std::string temp_name = path + ".XXXXXX";
    std::vector<char> temp(temp_name.begin(), temp_name.end());
    temp.push_back('\0');
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        problem = "cannot create a file beside it: " + std::string(std::strerror(errno));
        return false;
    }
    const bool written = write_all(fd, bytes.str()) && fchmod(fd, 0644) == 0 && fsync(fd) == 0;
    const int write_errno = errno;
    if (::close(fd) != 0 || !written) {
        problem = "cannot write: " + std::string(std::strerror(written ? errno : write_errno));
        unlink(temp.data());
        return false;
    }
    if (replace_file(temp.data(), path.c_str()) != 0) {
        problem = "cannot replace it: " + std::string(std::strerror(errno));
        unlink(temp.data());
        return false;
    }
    return true;
}
