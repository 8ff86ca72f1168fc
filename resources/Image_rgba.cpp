#include "resources/Image_rgba.h"

#ifdef GARDENLUME_IMAGES_BY_STB

bool Image_rgba::decode(const uint8_t* data, int32_t size) { return decode_with_stb(data, size); }

// stb_image keeps no state between calls but its failure text, which is per
// thread.
void Image_rgba::ready_for_threads() {}

#else

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

namespace {
// Channel masks that put R, G, B, A in that order in memory.
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
const Uint32 r_mask = 0xFF000000, g_mask = 0x00FF0000, b_mask = 0x0000FF00, a_mask = 0x000000FF;
#else
const Uint32 r_mask = 0x000000FF, g_mask = 0x0000FF00, b_mask = 0x00FF0000, a_mask = 0xFF000000;
#endif

bool is_rgba_bytes(const SDL_PixelFormat* f)
{
    return f->BitsPerPixel == 32 && f->BytesPerPixel == 4 && !f->palette && f->Rmask == r_mask &&
           f->Gmask == g_mask && f->Bmask == b_mask && f->Amask == a_mask;
}

// SDL_image 1.2 gives a grey PNG with a transparent grey (tRNS) as libpng
// expands it, grey then alpha in two bytes, but labels the surface with the
// masks of RGB: read as those, grey would show as red and the alpha as
// green. No real two-byte format has these masks, so they name this case.
bool is_grey_alpha(const SDL_PixelFormat* f)
{
    return f->BytesPerPixel == 2 && !f->palette && f->Rmask == r_mask && f->Gmask == g_mask && !f->Amask;
}

void release_sdl(void* pixels) { SDL_free(pixels); }

// One pixel of `bytes` bytes as SDL reads it: a palette index, or a value
// for the format's masks.
Uint32 pixel_at(const uint8_t* p, int bytes)
{
    Uint16 two = 0;
    Uint32 four = 0;
    switch (bytes) {
    case 1:
        return p[0];
    case 2:
        std::memcpy(&two, p, 2);
        return two;
    case 3:
        // Three bytes are stored in the machine's byte order.
        return SDL_BYTEORDER == SDL_BIG_ENDIAN ? Uint32(p[0]) << 16 | Uint32(p[1]) << 8 | p[2]
                                              : Uint32(p[2]) << 16 | Uint32(p[1]) << 8 | p[0];
    default:
        std::memcpy(&four, p, 4);
        return four;
    }
}

// SDL_image reads a BMP's palette as 256 colours whatever the file lists,
// taking the bytes after a short palette for colours (pixels, for one).
// The palette is cut back to the colours the file lists, so an index past
// them is an index past the palette, as in every other format.
void keep_listed_bmp_colours(const uint8_t* data, int32_t size, SDL_Surface* s)
{
    SDL_Palette* palette = s->format->palette;
    if (!palette || size < 50 || data[0] != 'B' || data[1] != 'M') return;
    Uint32 header_size = 0, used = 0;  // little-endian, unaligned
    std::memcpy(&header_size, data + 14, 4);
    std::memcpy(&used, data + 46, 4);
    header_size = SDL_SwapLE32(header_size);
    used = SDL_SwapLE32(used);
    // A core header (12 bytes) has no count; 0 means "all of them".
    if (header_size >= 40 && used > 0 && used < Uint32(palette->ncolors)) palette->ncolors = int(used);
}

uint8_t channel(Uint32 v, Uint32 mask, Uint8 shift, Uint8 loss) { return uint8_t(((v & mask) >> shift) << loss); }

// The R, G, B, A of one pixel, as SDL's own conversion gives them, but for
// a colour key: that pixel keeps its colour with alpha 0, as the file says
// and as stb_image gives it. An index past the palette is opaque black.
void rgba_of(Uint32 v, const SDL_Surface* s, uint8_t* out)
{
    const SDL_PixelFormat* f = s->format;
    if (f->palette) {
        const bool listed = v < Uint32(f->palette->ncolors);
        const SDL_Color c = listed ? f->palette->colors[v] : SDL_Color{0, 0, 0, 0};
        out[0] = c.r;
        out[1] = c.g;
        out[2] = c.b;
        out[3] = 255;
    } else {
        out[0] = channel(v, f->Rmask, f->Rshift, f->Rloss);
        out[1] = channel(v, f->Gmask, f->Gshift, f->Gloss);
        out[2] = channel(v, f->Bmask, f->Bshift, f->Bloss);
        out[3] = f->Amask ? channel(v, f->Amask, f->Ashift, f->Aloss) : 255;
    }
    if ((s->flags & SDL_SRCCOLORKEY) && v == f->colorkey) out[3] = 0;
}

// True when a pixel of a palette surface indexes past its palette: the
// file names no colour for it, and stb_image shows whatever its palette
// buffer held before.
bool indexes_past_palette(const SDL_Surface* s)
{
    const SDL_PixelFormat* f = s->format;
    if (!f->palette || f->BytesPerPixel != 1 || f->palette->ncolors >= 256) return false;
    const uint8_t* pixels = static_cast<const uint8_t*>(s->pixels);
    for (size_t y = 0; y < size_t(s->h); ++y)
        for (size_t x = 0; x < size_t(s->w); ++x)
            if (pixels[y * size_t(s->pitch) + x] >= f->palette->ncolors) return true;
    return false;
}

// Writes the surface's pixels, read from src, as R, G, B, A to out, from
// the last pixel back to the first: out may be src itself, grown, since a
// row of the source is at most four bytes a pixel, so no pixel's RGBA
// lands on source bytes not yet read.
void to_rgba(const SDL_Surface* s, const uint8_t* src, uint8_t* out)
{
    const size_t width = size_t(s->w), bytes = s->format->BytesPerPixel;
    const bool grey = is_grey_alpha(s->format);
    for (size_t y = size_t(s->h); y-- > 0;) {
        const uint8_t* row = src + y * size_t(s->pitch);
        for (size_t x = width; x-- > 0;) {
            const uint8_t* p = row + x * bytes;
            uint8_t* o = out + (y * width + x) * 4;
            if (grey) {
                const uint8_t g = p[0], a = p[1];  // read before o, which may overlap p, is written
                o[0] = o[1] = o[2] = g;
                o[3] = a;
            } else {
                rgba_of(pixel_at(p, int(bytes)), s, o);
            }
        }
    }
}

// The surface's pixels as RGBA, in its own buffer taken over and grown in
// place (the C library remaps a large buffer's pages rather than copying
// them), so that the picture is never held twice: a 24-bit surface beside
// an RGBA copy would take seven quarters of the RGBA size.
// The surface is left without pixels. Null when the buffer is not ours to
// take (never for SDL_image's surfaces) or cannot grow.
uint8_t* take_rgba(SDL_Surface* s, bool native)
{
    const size_t row = size_t(s->w) * 4;
    if ((s->flags & SDL_PREALLOC) || SDL_MUSTLOCK(s) || s->pitch < 1 || size_t(s->pitch) > row) return nullptr;
    uint8_t* out = static_cast<uint8_t*>(SDL_realloc(s->pixels, row * size_t(s->h)));
    if (!out) return nullptr;
    s->pixels = nullptr;
    if (!native || size_t(s->pitch) != row) to_rgba(s, out, out);
    return out;
}
}  // namespace

bool Image_rgba::decode(const uint8_t* data, int32_t size)
{
    const Header header = read_header(data, size);
    if (header.format && std::strcmp(header.format, "GIF") == 0) return decode_with_stb(data, size);
    return decode_with_sdl_image(data, size);
}

// SDL_image sets up its PNG reader on the first PNG it loads, and SDL looks
// up the CPU's features on the first conversion that picks a blitter; both
// are globals filled without a lock. Making a software surface looks at the
// display's surface too, but what it makes does not depend on it.
void Image_rgba::ready_for_threads()
{
    IMG_Init(IMG_INIT_PNG);
    SDL_HasMMX();
}

bool Image_rgba::decode_with_sdl_image(const uint8_t* data, int32_t size)
{
    clear();
    // Only what stb's info call can size is handed to SDL_image, and only up
    // to max_side: a small file must not make a huge surface.
    if (!data || size <= 0 || !size_allowed(read_header(data, size))) return false;
    // The stream only reads; SDL 1.2 merely lacks a const memory stream.
    SDL_RWops* rw = SDL_RWFromMem(const_cast<uint8_t*>(data), size);
    if (!rw) return false;
    SDL_Surface* image = IMG_Load_RW(rw, 1);
    if (!image) return false;
    keep_listed_bmp_colours(data, size, image);
    // The buffer's size is worked out from the sides the decoder gave.
    const bool sized = image->w >= 1 && image->h >= 1 && image->w <= max_side && image->h <= max_side;
    const bool rgba_bytes = sized && is_rgba_bytes(image->format);
    const bool past_palette = sized && indexes_past_palette(image);
    uint8_t* pixels = sized ? take_rgba(image, rgba_bytes) : nullptr;
    if (pixels) {
        past = past_palette;
        w = image->w;
        h = image->h;
        native = rgba_bytes;
        rgba = std::unique_ptr<uint8_t, Release>(pixels, Release{release_sdl});
    }
    SDL_FreeSurface(image);
    return pixels != nullptr;
}

#endif
