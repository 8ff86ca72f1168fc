// A file read to be edited and written back whole (POSIX), safe against a
// run for someone else and a save at the same moment: the file is opened
// once without following a link and read through that descriptor; its
// identity, size and change time are remembered, and the new bytes replace
// it only while the name still holds that very file, unchanged since. The
// new file is its heir, as with Atomic_file::replace.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "base/Write_status.h"
#include "platform/Posix_replace.h"

class Atomic_file_edit {
public:
    enum class Opened {
        ok,
        missing,
        link,
        other,       // a folder, a device, a FIFO
        unreadable,  // error() says why
        too_large,
        changed,     // its size or change time moved while it was read
    };

    Atomic_file_edit() = default;
    ~Atomic_file_edit();
    Atomic_file_edit(const Atomic_file_edit&) = delete;
    Atomic_file_edit& operator=(const Atomic_file_edit&) = delete;

    // Reads the regular file at `path`, at most `max_size` bytes, into
    // bytes(). Once per object.
    Opened open(const std::string& path, size_t max_size);
    const std::vector<uint8_t>& bytes() const { return read; }
    // The file as it was when opened: owner, mode.
    const struct stat& status() const { return old.st; }
    int error() const { return error_number; }

    // Puts `size` bytes in the file's place, through a temporary file named
    // after `temp_template` (in the file's folder, ending in "XXXXXX").
    // Refused with cannot_replace ("changed while being read; run it
    // again") when the name holds another file or the file changed.
    Write_status replace(const std::string& temp_template, const void* data, size_t size);

private:
    std::string name;  // in `folder`
    int folder = -1;
    Posix_replace::Old old;
    std::vector<uint8_t> read;
    int error_number = 0;
};
