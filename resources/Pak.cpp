#include "resources/Pak.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "base/Byte_cursor.h"
#include "base/Byte_writer.h"
#include "platform/Atomic_file.h"
#include "base/Whole_file.h"
#include "platform/Confined_writer.h"
// The pictures decoded ahead are kept here as plain pixel data; decoding
// them is the images library's work, in Pak_texture.cpp.
#include "resources/Image_rgba.h"

namespace {
// A found entry of size 0 still has an address: the empty view means "none".
const uint8_t empty_block[1] = {0};
}  // namespace

Pak::Pak() = default;

Pak::~Pak() = default;

Read_reason Pak::read_file(const std::string& path)
{
    std::vector<uint8_t> file;
    const Read_reason refused = Whole_file::read(path, file, max_pack_size);
    if (refused != Read_reason::ok) return refused;
    read_bytes(file.data(), file.size());
    return Read_reason::ok;
}

void Pak::read_bytes(const uint8_t* data, size_t size)
{
    trailing = 0;
    Byte_cursor c(data, size);
    stopped = read_entries(c);
    if (stopped.ok()) trailing = c.remaining();
}

Read_status Pak::read_entries(Byte_cursor& c)
{
    const auto stop = [&c](Read_reason reason, size_t at) { return Read_status{reason, at}; };
    int32_t count = 0;
    if (!c.read_i32(count)) return stop(Read_reason::count_past_end, c.offset());
    // The count is never trusted: every record is checked against what is
    // left, so a huge count just reads until the bytes run out.
    for (int32_t i = 0; i < count; ++i) {
        const size_t record = c.offset();
        if (c.at_end()) return stop(Read_reason::ends_before_count, record);
        int8_t length = 0;
        c.read_i8(length);
        if (length < 0) return stop(Read_reason::negative_name_length, record);
        if (!c.fits(size_t(length))) return stop(Read_reason::name_past_end, c.offset());
        // The name is known only by the part before an embedded NUL.
        const char* name_bytes = reinterpret_cast<const char*>(c.here());
        std::string name(name_bytes, strnlen(name_bytes, size_t(length)));
        c.skip(size_t(length));
        const size_t size_at = c.offset();
        int32_t data_size = 0;
        if (!c.read_i32(data_size)) return stop(Read_reason::size_past_end, size_at);
        if (data_size < 0) return stop(Read_reason::negative_size, size_at);
        if (!c.fits(size_t(data_size))) return stop(Read_reason::data_past_end, c.offset());
        const uint8_t* bytes = c.here();
        blocks.emplace_back(bytes, bytes + data_size);
        c.skip(size_t(data_size));
        names.push_back(std::move(name));
        texture_slots.push_back(0);
        decoded_ahead.emplace_back();
    }
    return stop(Read_reason::ok, c.offset());
}

const Read_status& Pak::status() const { return stopped; }

size_t Pak::trailing_bytes() const { return trailing; }

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

bool Pak::has_decoded_ahead(int32_t index) const
{
    return index >= 0 && index < entry_count() && decoded_ahead[size_t(index)] != nullptr;
}

void Pak::drop_decoded_ahead()
{
    for (std::unique_ptr<Image_rgba>& image : decoded_ahead) image.reset();
}

bool Pak::add_file(const std::string& path)
{
    if (path.size() > size_t(max_name_length)) return false;
    std::vector<uint8_t> bytes;
    if (Whole_file::read(path, bytes, max_pack_size) != Read_reason::ok) return false;
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
    decoded_ahead.emplace_back();
    return true;
}

bool Pak::replace_data(int32_t index, const void* data, int32_t size)
{
    if (index < 0 || index >= entry_count() || size < 0 || (size > 0 && !data)) return false;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    blocks[size_t(index)].assign(bytes, bytes + size);
    texture_slots[size_t(index)] = 0;
    decoded_ahead[size_t(index)].reset();
    return true;
}

bool Pak::remove(int32_t index)
{
    if (index < 0 || index >= entry_count()) return false;
    blocks.erase(blocks.begin() + index);
    names.erase(names.begin() + index);
    texture_slots.erase(texture_slots.begin() + index);
    decoded_ahead.erase(decoded_ahead.begin() + index);
    return true;
}

size_t Pak::saved_size() const
{
    size_t size = 4;
    for (size_t i = 0; i < names.size(); ++i) size += record_size(names[i].size(), blocks[i].size());
    return size;
}

Write_status Pak::save(const std::string& path) const
{
    // The rename would replace a link by a file; a pack reached through a
    // link is someone else's, so it is left alone.
    unsigned mode = 0;
    switch (Atomic_file::inspect(path, mode)) {
    case Atomic_file::Target::link:
        return Write_status::failed(Write_reason::is_symbolic_link);
    case Atomic_file::Target::other:
        return Write_status::failed(Write_reason::not_regular);
    case Atomic_file::Target::missing:
    case Atomic_file::Target::regular:
        break;
    }
    // Sized once: appending a large entry and then a small one would double
    // the block, and a pack may be near 1 GiB.
    std::vector<uint8_t> bytes;
    bytes.reserve(saved_size());
    Byte_writer w(bytes);
    w.u32(uint32_t(names.size()));
    for (size_t i = 0; i < names.size(); ++i) {
        w.u8(uint8_t(names[i].size() & 0xFF));
        w.text(names[i]);
        w.u32(uint32_t(blocks[i].size()));
        w.bytes(blocks[i].data(), blocks[i].size());
    }
    return Atomic_file::replace(path, path + ".tmp-XXXXXX", bytes.data(), bytes.size(), mode);
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

Write_status Pak::extract_entry(int32_t index, const std::string& prefix) const
{
    if (index < 0 || index >= entry_count()) return Write_status::failed(Write_reason::cannot_write);
    const std::string& name = names[size_t(index)];
    if (!safe_entry_path(name)) return Write_status::failed(Write_reason::outside_folder);
    const std::vector<uint8_t>& bytes = blocks[size_t(index)];
    return Confined_writer::write(prefix, name, bytes.data(), bytes.size());
}

bool Pak::extract_all(const std::string& prefix, const Refusal& refused) const
{
    bool ok = true;
    for (int32_t i = 0; i < entry_count(); ++i) {
        const Write_status status =
            first_of_its_name(i) ? extract_entry(i, prefix) : Write_status::failed(Write_reason::repeated_name);
        if (status.ok()) continue;
        ok = false;
        if (refused) refused(i, status);
    }
    return ok;
}

bool Pak::first_of_its_name(int32_t index) const
{
    return index >= 0 && index < entry_count() && index_of(names[size_t(index)]) == index;
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
