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

SDL_Surface* to_rgba(SDL_Surface* src)
{
    SDL_PixelFormat format;
    std::memset(&format, 0, sizeof format);
    format.BitsPerPixel = 32;
    format.BytesPerPixel = 4;
    format.Rmask = r_mask;
    format.Gmask = g_mask;
    format.Bmask = b_mask;
    format.Amask = a_mask;
    format.Rshift = 0;
    format.Gshift = 8;
    format.Bshift = 16;
    format.Ashift = 24;
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
    format.Rshift = 24;
    format.Gshift = 16;
    format.Bshift = 8;
    format.Ashift = 0;
#endif
    format.alpha = 255;
    // A source without per-pixel alpha must come out opaque, not with the
    // blit's alpha rules applied.
    if (!(src->flags & SDL_SRCALPHA) || src->format->Amask == 0) SDL_SetAlpha(src, 0, 255);
    return SDL_ConvertSurface(src, &format, SDL_SWSURFACE);
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
    w = h = 0;
    native = false;
    rgba.clear();
    // Only what stb's info call can size is handed to SDL_image, and only up
    // to max_side: a small file must not make a huge surface.
    if (!data || size <= 0 || !size_allowed(read_header(data, size))) return false;
    // The stream only reads; SDL 1.2 merely lacks a const memory stream.
    SDL_RWops* rw = SDL_RWFromMem(const_cast<uint8_t*>(data), size);
    if (!rw) return false;
    SDL_Surface* image = IMG_Load_RW(rw, 1);
    if (!image) return false;
    if (image->w < 1 || image->h < 1) {
        SDL_FreeSurface(image);
        return false;
    }

    native = is_rgba_bytes(image->format);
    SDL_Surface* rgba_surface = native ? image : to_rgba(image);
    if (!rgba_surface) {
        SDL_FreeSurface(image);
        return false;
    }
    w = rgba_surface->w;
    h = rgba_surface->h;
    size_t row = size_t(w) * 4;
    rgba.resize(row * size_t(h));
    if (SDL_MUSTLOCK(rgba_surface)) SDL_LockSurface(rgba_surface);
    const uint8_t* src = static_cast<const uint8_t*>(rgba_surface->pixels);
    for (int y = 0; y < h; ++y) std::memcpy(&rgba[size_t(y) * row], src + size_t(y) * rgba_surface->pitch, row);
    if (SDL_MUSTLOCK(rgba_surface)) SDL_UnlockSurface(rgba_surface);
    if (rgba_surface != image) SDL_FreeSurface(rgba_surface);
    SDL_FreeSurface(image);
    return true;
}

#endif
