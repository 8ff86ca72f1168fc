#include "resources/Pak.h"

#include <SDL.h>
#include <GL/gl.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "resources/Byte_cursor.h"
#include "resources/Image_rgba.h"
#include "platform/Atomic_file.h"
#include "platform/Whole_file.h"

namespace {
// A found entry of size 0 still has an address: the empty view means "none".
const uint8_t empty_block[1] = {0};

bool read_whole_file(const std::string& path, std::vector<uint8_t>& out)
{
    return Whole_file::read(path, out, Pak::max_pack_size) == Whole_file_status::ok;
}

void put_i32(std::vector<uint8_t>& out, uint32_t v)
{
    const uint8_t b[4] = {uint8_t(v & 0xFF), uint8_t(v >> 8 & 0xFF), uint8_t(v >> 16 & 0xFF),
                          uint8_t(v >> 24 & 0xFF)};
    out.insert(out.end(), b, b + 4);
}

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

bool write_all(int fd, const std::vector<uint8_t>& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
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
    trailing = 0;
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
        decoded_ahead.emplace_back();
    }
    trailing = c.remaining();
}

const std::string& Pak::stop_reason() const { return stopped; }

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

uint32_t Pak::texture(const std::string& name)
{
    int32_t i = index_of(name);
    if (i < 0) return 0;
    if (texture_slots[size_t(i)] != 0) return texture_slots[size_t(i)];

    std::unique_ptr<Image_rgba> image = std::move(decoded_ahead[size_t(i)]);
    if (!image) {
        Pak_entry e = entry(i);
        image.reset(new Image_rgba());
        if (!image->decode(e.data, e.size)) return 0;  // tried again on the next request
    } else if (image->width() < 1) {
        return 0;  // the decoding ahead failed; the next request tries again
    }

    GLuint tex = 0;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image->width(), image->height(), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, image->pixels());
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    texture_slots[size_t(i)] = tex;
    return tex;
}

void Pak::decode_ahead(int32_t index)
{
    if (index < 0 || index >= entry_count() || texture_slots[size_t(index)] != 0) return;
    const Pak_entry e = entry(index);
    std::unique_ptr<Image_rgba> image(new Image_rgba());
    image->decode(e.data, e.size);  // a failure is kept too: width 0
    decoded_ahead[size_t(index)] = std::move(image);
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

bool Pak::save(const std::string& path, std::string& problem) const
{
    // The rename would replace a link by a file; a pack reached through a
    // link is someone else's, so it is left alone.
    struct stat st;
    unsigned mode = 0;
    if (lstat(path.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            problem = "is a symbolic link, not replaced";
            return false;
        }
        if (!S_ISREG(st.st_mode)) {
            problem = "is not a regular file, not replaced";
            return false;
        }
        mode = st.st_mode & 0777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~unsigned(mask);
    }
    std::vector<uint8_t> bytes;
    put_i32(bytes, uint32_t(names.size()));
    for (size_t i = 0; i < names.size(); ++i) {
        bytes.push_back(uint8_t(names[i].size() & 0xFF));
        bytes.insert(bytes.end(), names[i].begin(), names[i].end());
        put_i32(bytes, uint32_t(blocks[i].size()));
        bytes.insert(bytes.end(), blocks[i].begin(), blocks[i].end());
    }
    return Atomic_file::replace(path, path + ".tmp-XXXXXX", bytes.data(), bytes.size(), mode, problem);
}

bool Pak::save(const std::string& path) const
{
    std::string problem;
    return save(path, problem);
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

Pak::Extracted Pak::extract_entry(int32_t index, const std::string& prefix) const
{
    if (index < 0 || index >= entry_count()) return Extracted::not_written;
    const std::string& name = names[size_t(index)];
    if (!safe_entry_path(name)) return Extracted::outside_folder;

    // The folder part of the prefix is the caller's own choice and is made
    // as named; everything below it comes from the pack and is walked one
    // folder at a time without following a link.
    const size_t slash = prefix.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : prefix.substr(0, slash + 1);
    const std::vector<std::string> parts =
        path_parts((slash == std::string::npos ? prefix : prefix.substr(slash + 1)) + name);
    // A name ending in "/" names no file.
    if (parts.empty() || name.empty() || name.back() == '/') return Extracted::not_written;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);

    Fd here(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (here.fd < 0) return Extracted::not_written;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        const char* part = parts[i].c_str();
        if (mkdirat(here.fd, part, 0777) != 0 && errno != EEXIST) return Extracted::not_written;
        const int next = openat(here.fd, part, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) return is_symlink_at(here.fd, parts[i]) ? Extracted::meets_symlink : Extracted::not_written;
        ::close(here.fd);
        here.fd = next;
    }

    // A file created exclusively is never a link's target nor another name
    // of someone else's file; an old regular file in its place goes first.
    const std::string& file = parts.back();
    struct stat st;
    if (fstatat(here.fd, file.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISLNK(st.st_mode)) return Extracted::meets_symlink;
        if (!S_ISREG(st.st_mode) || unlinkat(here.fd, file.c_str(), 0) != 0) return Extracted::not_written;
    }
    Fd out(openat(here.fd, file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (out.fd < 0) return is_symlink_at(here.fd, file) ? Extracted::meets_symlink : Extracted::not_written;
    const bool written = write_all(out.fd, blocks[size_t(index)]);
    const int fd = out.fd;
    out.fd = -1;
    return (::close(fd) == 0 && written) ? Extracted::written : Extracted::not_written;
}

bool Pak::extract_all(const std::string& prefix) const
{
    bool ok = true;
    for (int32_t i = 0; i < entry_count(); ++i)
        if (!first_of_its_name(i) || extract_entry(i, prefix) != Extracted::written) ok = false;
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
