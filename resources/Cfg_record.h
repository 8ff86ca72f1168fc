// The record of the settings file "cfg": screen-mode index, the mouse rule,
// a spare value and two texts the saver carries but never uses. Reading is
// all or nothing: a record that does not fit its file gives the defaults.
#pragma once
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

#include "base/Read_status.h"

class Cfg_record {
public:
    Cfg_record() = default;  // the defaults
    // Reads the record; another format number, or a file that ends before
    // its last field, gives the defaults whole.
    Cfg_record(std::istream& stream, int32_t expected_version);

    // Reads the file at `path` whole (regular files only, bounded) and the
    // record from its bytes. Anything but ok leaves the defaults: the file's
    // own refusal (missing, not_regular ...), or other_version or
    // fields_past_end for bytes that are not our record.
    Read_status read_file(const std::string& path, int32_t expected_version);

    // Larger settings files are not ours and are not read.
    static const size_t max_file_size = 1 << 20;

    // Writes the layout with `version` as the format number. False when the
    // stream failed.
    bool write(std::ostream& stream, int32_t version) const;

    // True when the fields came from a stream rather than the defaults.
    bool read_from_stream() const { return from_stream; }
    // Why the last reading gave the defaults, and where it stopped.
    Read_status status() const { return stopped; }

    std::string text1;
    std::string text2;
    uint8_t mouse_exit = 0;
    int32_t spare_value = 0;
    int32_t video_mode = 5;

private:
    bool from_stream = false;
    Read_status stopped;
};
