// An image entry decoded to 8-bit R, G, B, A bytes, rows top first with no
// padding: the one layout the texture upload hands to GL. Images that decode
// to anything else (RGB, grey, palette, other byte orders) are converted.
// The pixels stay in the buffer the decoder made, converted there when they
// are not RGBA, and are never copied: an 8192 x 8192 picture is 256 MiB.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

class Image_rgba {
public:
    // What a picture's header says, read without decoding the picture.
    struct Header {
        const char* format = nullptr;  // "PNG", "JPEG", "GIF", ...; null: no picture format known
        int width = 0;                 // 0 when no side could be read (stb_image's info call)
        int height = 0;
    };
    static Header read_header(const uint8_t* data, int32_t size);
    // Pictures larger than this on a side are never decoded: the header
    // says so before anything is allocated (8192 x 8192 RGBA is 256 MiB).
    static const int max_side = 8192;
    // True when the header gives both sides, none over max_side.
    static bool size_allowed(const Header& h);

    // False when the bytes are not an image the decoder can read, or one
    // whose size its header does not give or gives over max_side. The
    // build's decoder: SDL_image on Linux, stb_image on Windows (where
    // SDL_image is not at hand) and for GIF on both (SDL_image sizes a GIF
    // by its frame, which the header does not bound); both give the same
    // pixels for the images of our packs.
    bool decode(const uint8_t* data, int32_t size);
#ifndef GARDENLUME_IMAGES_BY_STB
    bool decode_with_sdl_image(const uint8_t* data, int32_t size);
#endif
    bool decode_with_stb(const uint8_t* data, int32_t size);
    // Called once on the main thread before decode runs on other threads:
    // the decoder's lazily filled global state is filled here, so that the
    // threads only read it.
    static void ready_for_threads();

    int width() const { return w; }
    int height() const { return h; }
    const uint8_t* pixels() const { return rgba.get(); }
    // True when the decoder already gave 8-bit RGBA in that byte order.
    bool was_rgba() const { return native; }
    // True when SDL_image gave a palette that some pixels index past (they
    // show opaque black here; stb_image shows stale bytes).
    bool indexed_past_palette() const { return past; }

private:
    // Frees the pixels the way the decoder that made them allocates.
    struct Release {
        void (*free)(void*);
        void operator()(uint8_t* p) const { free(p); }
    };
    void clear();

    int w = 0;
    int h = 0;
    bool native = false;
    bool past = false;
    std::unique_ptr<uint8_t, Release> rgba;
};
