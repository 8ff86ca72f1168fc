#include "resources/Pak.h"

#include <SDL.h>
#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "resources/Byte_cursor.h"
#include "resources/Image_rgba.h"
#include "platform/Whole_file.h"

namespace {
// A found entry of size 0 still has an address: the empty view means "none".
const uint8_t empty_block[1] = {0};

// Packs are read whole; anything larger than this is not one of ours.
const size_t max_pack_size = size_t(1) << 30;

bool read_whole_file(const std::string& path, std::vector<uint8_t>& out)
{
    return Whole_file::read(path, out, max_pack_size) == Whole_file_status::ok;
}

std::string entry_label(int32_t index)
{
    return "entry " + std::to_string(index) + ": ";
}
}  // namespace

Pak::Pak() = default;

Pak::~Pak() = default;

bool Pak::read_file(const std::string& path)
{
    std::vector<uint8_t> file;
    if (!read_whole_file(path, file)) return false;
    read_bytes(file.data(), file.size());
    return true;
}

void Pak::read_bytes(const uint8_t* data, size_t size)
{
    stopped.clear();
    Byte_cursor c(data, size);
    int32_t count = 0;
    if (!c.read_i32(count)) {
        stopped = "the entry count runs past the end of the file";
        return;
    }
    // The count is never trusted: every record is checked against what is
    // left, so a huge count just reads until the bytes run out.
    for (int32_t i = 0; i < count; ++i) {
        if (c.at_end()) {
            stopped = "the file ends after " + std::to_string(i) + " of " + std::to_string(count) +
                      " entries";
            return;
        }
        int8_t length = 0;
        c.read_i8(length);
        if (length < 0) {
            stopped = entry_label(i) + "negative name length " + std::to_string(length);
            return;
        }
        if (!c.fits(size_t(length))) {
            stopped = entry_label(i) + "the name runs past the end of the file";
            return;
        }
        // The name is known only by the part before an embedded NUL.
        const char* name_bytes = reinterpret_cast<const char*>(c.here());
        std::string name(name_bytes, strnlen(name_bytes, size_t(length)));
        c.skip(size_t(length));
        int32_t data_size = 0;
        if (!c.read_i32(data_size)) {
            stopped = entry_label(i) + "the data size runs past the end of the file";
            return;
        }
        if (data_size < 0) {
            stopped = entry_label(i) + "negative data size " + std::to_string(data_size);
            return;
        }
        if (!c.fits(size_t(data_size))) {
            stopped = entry_label(i) + "data size " + std::to_string(data_size) + " is larger than the " +
                      std::to_string(c.remaining()) + " bytes left";
            return;
        }
        const uint8_t* bytes = c.here();
        blocks.emplace_back(bytes, bytes + data_size);
        c.skip(size_t(data_size));
        names.push_back(std::move(name));
        texture_slots.push_back(0);
    }
}

const std::string& Pak::stop_reason() const { return stopped; }

int32_t Pak::index_of(const std::string& name) const
{
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return int32_t(i);
    return -1;
}

Pak_entry Pak::find(const std::string& name) const
{
    int32_t i = index_of(name);
    return i < 0 ? Pak_entry{} : entry(i);
}

uint32_t Pak::texture(const std::string& name)
{
    int32_t i = index_of(name);
    if (i < 0) return 0;
    if (texture_slots[size_t(i)] != 0) return texture_slots[size_t(i)];

    Pak_entry e = entry(i);
    Image_rgba image;
    if (!image.decode(e.data, e.size)) return 0;  // tried again on the next request

    GLuint tex = 0;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width(), image.height(), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, image.pixels());
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    texture_slots[size_t(i)] = tex;
    return tex;
}

bool Pak::add_file(const std::string& path)
{
    if (path.size() > size_t(max_name_length)) return false;
    std::vector<uint8_t> bytes;
    if (!read_whole_file(path, bytes)) return false;
    if (bytes.size() > size_t(INT32_MAX)) return false;
    return add_data(path, bytes.data(), int32_t(bytes.size()));
}

bool Pak::add_data(const std::string& name, const void* data, int32_t size)
{
    // A longer name would not fit the signed length byte and would be misread.
    if (name.size() > size_t(max_name_length)) return false;
    if (size < 0 || (size > 0 && !data)) return false;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    blocks.emplace_back(bytes, bytes + size);
    names.push_back(name);
    texture_slots.push_back(0);
    return true;
}

bool Pak::save(const std::string& path) const
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    auto put_i32 = [&out](uint32_t v) {
        char b[4] = {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24 & 0xFF)};
        out.write(b, 4);
    };
    put_i32(uint32_t(names.size()));
    for (size_t i = 0; i < names.size(); ++i) {
        out.put(char(names[i].size() & 0xFF));
        out.write(names[i].data(), std::streamsize(names[i].size()));
        put_i32(uint32_t(blocks[i].size()));
        if (!blocks[i].empty())
            out.write(reinterpret_cast<const char*>(blocks[i].data()), std::streamsize(blocks[i].size()));
    }
    out.close();
    return !out.fail();
}

bool Pak::safe_entry_path(const std::string& name)
{
    if (!name.empty() && (name[0] == '/' || name[0] == '\\')) return false;
    if (name.size() >= 2 && name[1] == ':') return false;  // a drive letter
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string::npos) end = name.size();
        if (name.compare(start, end - start, "..") == 0) return false;
        start = end + 1;
    }
    return true;
}

bool Pak::extract_entry(int32_t index, const std::string& prefix) const
{
    if (index < 0 || index >= entry_count()) return false;
    const std::string& name = names[size_t(index)];
    if (!safe_entry_path(name)) return false;
    std::string path = prefix + name;
    std::error_code ec;
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const std::vector<uint8_t>& b = blocks[size_t(index)];
    if (!b.empty()) out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    out.close();
    return !out.fail();
}

bool Pak::extract_all(const std::string& prefix) const
{
    bool ok = true;
    for (int32_t i = 0; i < entry_count(); ++i)
        if (!extract_entry(i, prefix)) ok = false;
    return ok;
}

int32_t Pak::entry_count() const { return int32_t(names.size()); }

const std::string& Pak::name(int32_t index) const
{
    static const std::string none;
    if (index < 0 || index >= entry_count()) return none;
    return names[size_t(index)];
}

Pak_entry Pak::entry(int32_t index) const
{
    if (index < 0 || index >= entry_count()) return Pak_entry{};
    const std::vector<uint8_t>& b = blocks[size_t(index)];
    return Pak_entry{b.empty() ? empty_block : b.data(), int32_t(b.size())};
}

uint32_t Pak::texture_slot(int32_t index) const
{
    if (index < 0 || index >= entry_count()) return 0;
    return texture_slots[size_t(index)];
}
