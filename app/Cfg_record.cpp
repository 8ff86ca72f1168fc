#include "app/Cfg_record.h"

#include <sstream>
#include <vector>

#include "resources/Byte_cursor.h"

namespace {

// Reads up to n bytes in small steps, so a length field that claims more
// than the file holds never costs more memory than the file's own bytes.
// False when the stream ends first.
bool read_exactly(std::istream& in, uint32_t n, std::vector<uint8_t>& out)
{
    out.clear();
    char chunk[4096];
    while (out.size() < n) {
        size_t want = n - out.size();
        if (want > sizeof chunk) want = sizeof chunk;
        in.read(chunk, std::streamsize(want));
        size_t got = size_t(in.gcount());
        out.insert(out.end(), chunk, chunk + got);
        if (got < want) return false;
    }
    return true;
}

bool read_u32(std::istream& in, uint32_t& v)
{
    std::vector<uint8_t> bytes;
    if (!read_exactly(in, 4, bytes)) return false;
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

bool read_text(std::istream& in, std::string& text)
{
    uint32_t n = 0;
    std::vector<uint8_t> bytes;
    if (!read_u32(in, n) || !read_exactly(in, n, bytes)) return false;
    text = text_of(bytes);
    return true;
}

void put_u32(std::ostream& out, uint32_t v)
{
    const char b[4] = {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24 & 0xFF)};
    out.write(b, 4);
}

void put_i32(std::ostream& out, int32_t v) { put_u32(out, uint32_t(v)); }

}  // namespace

Cfg_record::Cfg_record(std::istream& stream, int32_t expected_version)
{
    // Another format number leaves the rest of the stream unread.
    uint32_t version = 0;
    if (!read_u32(stream, version) || int32_t(version) != expected_version) return;
    std::vector<uint8_t> fields;
    if (!read_exactly(stream, 9, fields)) return;
    Byte_cursor c(fields.data(), fields.size());
    Cfg_record read;
    c.read_u8(read.mouse_exit);
    c.read_i32(read.spare_value);
    c.read_i32(read.video_mode);
    if (c.failed()) return;
    // text2 is stored before text1.
    if (!read_text(stream, read.text2) || !read_text(stream, read.text1)) return;
    *this = read;
    from_stream = true;
}

bool Cfg_record::write(std::ostream& stream, int32_t version) const
{
    put_i32(stream, version);
    stream.put(char(mouse_exit));
    put_i32(stream, spare_value);
    put_i32(stream, video_mode);
    put_u32(stream, uint32_t(text2.size()));
    stream.write(text2.data(), std::streamsize(text2.size()));
    put_u32(stream, uint32_t(text1.size()));
    stream.write(text1.data(), std::streamsize(text1.size()));
    return bool(stream);
}

Whole_file_status Cfg_record::read_file(const std::string& path, int32_t expected_version)
{
    *this = Cfg_record();
    std::vector<uint8_t> bytes;
    const Whole_file_status status = Whole_file::read(path, bytes, max_file_size);
    if (status != Whole_file_status::ok) return status;
    std::istringstream stream(std::string(bytes.begin(), bytes.end()), std::ios::binary);
    *this = Cfg_record(stream, expected_version);
    return status;
}
