// Which pictures a pack may carry. Packs travel between the Linux build
// (SDL_image) and the Windows build (stb_image), so a picture is taken only
// when both builds show it alike: PNG or JPEG, no side over
// Image_rgba::max_side (read from its header, before anything is decoded),
// and decoded by both decoders to the same pixels (a JPEG's within rounding). Other formats are refused: stb_image reads no XPM, TIFF or RLE
// BMP, and SDL_image sizes a GIF by its frame.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

class Image_rgba;

class Picture_check {
public:
    // True when the bytes look like a picture of any format either decoder
    // knows (an entry that is not one, a model say, is not checked).
    static bool is_picture(const uint8_t* data, size_t size);
    // Empty when a pack may carry the picture; else what is wrong, for
    // people ("is a GIF picture: ..."). When empty, `decoded`, if given,
    // holds the picture's pixels.
    static std::string problem(const uint8_t* data, size_t size, Image_rgba* decoded = nullptr);
    // Empty when every renderer takes the picture as a texture; else why
    // not, for people ("is a picture of ..."): sides that are not powers of two or are over
    // 1024 show white on OpenGL 1.1 without the NPOT extension.
    static std::string upload_warning(const uint8_t* data, size_t size);
};
