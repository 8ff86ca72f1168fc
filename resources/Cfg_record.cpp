#include "resources/Cfg_record.h"

#include <sstream>
#include <vector>

#include "base/Byte_cursor.h"
#include "base/Byte_writer.h"
#include "base/Whole_file.h"

namespace {

// Reads up to n bytes in small steps, so a length field that claims more
// than the file holds never costs more memory than the file's own bytes.
// False when the stream ends first.
bool read_exactly(std::istream& in, uint32_t n, std::vector<uint8_t>& out, size_t& consumed)
{
    out.clear();
    char chunk[4096];
    while (out.size() < n) {
        size_t want = n - out.size();
        if (want > sizeof chunk) want = sizeof chunk;
        in.read(chunk, std::streamsize(want));
        size_t got = size_t(in.gcount());
        out.insert(out.end(), chunk, chunk + got);
        consumed += got;
        if (got < want) return false;
    }
    return true;
}

bool read_u32(std::istream& in, uint32_t& v, size_t& consumed)
{
    std::vector<uint8_t> bytes;
    if (!read_exactly(in, 4, bytes, consumed)) return false;
    Byte_cursor c(bytes.data(), bytes.size());
    return c.read_u32(v);
}

// The text up to its first zero byte, or all of it.
std::string text_of(const std::vector<uint8_t>& bytes)
{
    size_t n = 0;
    while (n < bytes.size() && bytes[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(bytes.data()), n);
}

bool read_text(std::istream& in, std::string& text, size_t& consumed)
{
    uint32_t n = 0;
    std::vector<uint8_t> bytes;
    if (!read_u32(in, n, consumed) || !read_exactly(in, n, bytes, consumed)) return false;
    text = text_of(bytes);
    return true;
}

}  // namespace

Cfg_record::Cfg_record(std::istream& stream, int32_t expected_version)
{
    // Another format number leaves the rest of the stream unread.
    size_t consumed = 0;
    uint32_t version = 0;
    stopped = Read_status{Read_reason::fields_past_end, 0};
    if (!read_u32(stream, version, consumed)) return;
    if (int32_t(version) != expected_version) {
        stopped = Read_status{Read_reason::other_version, 0};
        return;
    }
    std::vector<uint8_t> fields;
    Cfg_record read;
    // text2 is stored before text1.
    if (read_exactly(stream, 9, fields, consumed)) {
        Byte_cursor c(fields.data(), fields.size());
        c.read_u8(read.mouse_exit);
        c.read_i32(read.spare_value);
        c.read_i32(read.video_mode);
        if (read_text(stream, read.text2, consumed) && read_text(stream, read.text1, consumed)) {
            *this = read;
            from_stream = true;
            stopped = Read_status{Read_reason::ok, consumed};
            return;
        }
    }
    stopped.offset = consumed;
}

bool Cfg_record::write(std::ostream& stream, int32_t version) const
{
    std::vector<uint8_t> bytes;
    Byte_writer w(bytes);
    w.i32(version);
    w.u8(mouse_exit);
    w.i32(spare_value);
    w.i32(video_mode);
    w.u32(uint32_t(text2.size()));
    w.text(text2);
    w.u32(uint32_t(text1.size()));
    w.text(text1);
    stream.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(stream);
}

Read_status Cfg_record::read_file(const std::string& path, int32_t expected_version)
{
    *this = Cfg_record();
    std::vector<uint8_t> bytes;
    const Read_reason file = Whole_file::read(path, bytes, max_file_size);
    if (file != Read_reason::ok) return stopped = Read_status{file, 0};
    std::istringstream stream(std::string(bytes.begin(), bytes.end()), std::ios::binary);
    *this = Cfg_record(stream, expected_version);
    return stopped;
}
