#include "tools/pak/Obj_pictures.h"

#include <cmath>
#include <cstring>

#include "resources/Image_rgba.h"
#include "resources/Pak_entry.h"
#include "tools/common/Png_writer.h"
#include "tools/pak/Pak_io.h"
#include "tools/pak/Picture_check.h"
#include "tools/pak/Picture_resize.h"

namespace {
std::string size_text(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }

// A picture in a format a pack does not carry (BMP, TGA: one build cannot
// read them) that stb_image reads: the import writes its own PNG of it.
bool other_format(const std::vector<uint8_t>& bytes, Image_rgba& picture)
{
    const Image_rgba::Header h = Image_rgba::read_header(bytes.data(), int32_t(bytes.size()));
    return h.format && std::strcmp(h.format, "PNG") != 0 && std::strcmp(h.format, "JPEG") != 0 &&
           picture.decode_with_stb(bytes.data(), int32_t(bytes.size()));
}

bool refuse(const std::string& file, const std::string& what)
{
    Pak_io::problem(file, what);
    return false;
}
}  // namespace

// Decoded to be sure it is one both builds show alike, then scaled to sides
// every renderer takes, or written as PNG when in another format.
bool Obj_pictures::from_file(const Obj_reader::Mesh& m, Read_reason read, std::vector<uint8_t>& bytes,
                             std::vector<std::string>& notes)
{
    const std::string texture = "texture of material " + Pak_io::quoted(m.material);
    if (read != Read_reason::ok) return refuse(m.texture_path, texture + " cannot be read (" + text(read) + ")");
    Image_rgba picture;
    const std::string bad = Picture_check::problem(bytes.data(), bytes.size(), &picture);
    const bool other = !bad.empty() && other_format(bytes, picture);
    if (!bad.empty() && !other) return refuse(m.texture_path, texture + " " + bad);
    const bool fits = Picture_resize::fits(picture.width(), picture.height());
    if (!other && fits) return true;
    bytes.clear();
    bytes.shrink_to_fit();
    const int w = Picture_resize::side_for(picture.width()), h = Picture_resize::side_for(picture.height());
    const std::vector<uint8_t> scaled = fits ? std::vector<uint8_t>() : Picture_resize::scaled(picture, w, h);
    if (!fits && scaled.empty()) return refuse(m.texture_path, texture + " cannot be scaled to " + size_text(w, h));
    bytes = Png_writer::encode(w, h, fits ? picture.pixels() : scaled.data());
    if (bytes.empty()) return refuse(m.texture_path, texture + " cannot be made a PNG");
    const std::string size = size_text(picture.width(), picture.height());
    notes.push_back(m.texture_path + ": " + (other ? "written as PNG (packs carry PNG and JPEG)" : "") +
                    (other && !fits ? ", " : "") +
                    (fits ? "" : "scaled from " + size + " to " + size_text(w, h) + " (power-of-two sides, at most " +
                                     std::to_string(Picture_resize::max_side) + ", show on every renderer)"));
    return true;
}

void Obj_pictures::colour_of(const Obj_reader::Mesh& m, uint8_t rgb[3])
{
    for (size_t k = 0; k < 3; ++k) rgb[k] = uint8_t(std::lround((m.has_diffuse ? m.diffuse[k] : 0.8) * 255));
}

std::vector<uint8_t> Obj_pictures::square(const uint8_t rgb[3])
{
    std::vector<uint8_t> pixels;
    for (int i = 0; i < square_side * square_side; ++i) pixels.insert(pixels.end(), {rgb[0], rgb[1], rgb[2], 255});
    return Png_writer::encode(square_side, square_side, pixels.data());
}

bool Obj_pictures::is_square(const Pak_entry& e)
{
    Image_rgba picture;
    if (!picture.decode(e.data, e.size) || picture.width() != square_side || picture.height() != square_side)
        return false;
    const uint8_t* p = picture.pixels();
    for (int i = 0; i < square_side * square_side; ++i)
        if (std::memcmp(p + 4 * i, p, 4) != 0 || p[4 * i + 3] != 255) return false;
    return true;
}
