// An RGBA picture being painted: float pixels, rows top first, painted by
// shaders over rectangles and blended "over" what is there. Encodes to the
// PNG bytes a pack carries; an image for an alpha-tested mesh is encoded
// with hard alpha (0 or 255 only) so its edges do not fray under the test.
#pragma once
#include <cmath>
#include <cstdint>
#include <vector>

#include "Rgba.h"

class Image {
public:
    enum class Alpha { opaque, hard, soft };

    Image(int width, int height, Rgba fill = Rgba{0, 0, 0, 0});

    int width() const { return w; }
    int height() const { return h; }
    Rgba& at(int x, int y) { return pixels[size_t(y) * w + x]; }
    const Rgba& at(int x, int y) const { return pixels[size_t(y) * w + x]; }

    // Lays c over the pixel with c.a * coverage as its weight.
    void blend(int x, int y, const Rgba& c, double coverage = 1.0);

    // Calls shader(px, py) for every pixel centre of the rectangle (clipped
    // to the image; with wrap the rectangle wraps round the edges instead, for
    // tiling textures) and blends the colour it returns over the pixel.
    template <class Shader>
    void paint(int x0, int y0, int x1, int y1, Shader shader, bool wrap = false)
    {
        if (!wrap) {
            x0 = std::max(x0, 0), y0 = std::max(y0, 0);
            x1 = std::min(x1, w), y1 = std::min(y1, h);
        }
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                Rgba c = shader(x + 0.5, y + 0.5);
                if (c.a <= 0) continue;
                blend(((x % w) + w) % w, ((y % h) + h) % h, c);
            }
    }
    template <class Shader>
    void paint_all(Shader shader)
    {
        paint(0, 0, w, h, shader);
    }

    // A soft-edged ellipse (rx, ry in pixels, turned by angle radians).
    void ellipse(double cx, double cy, double rx, double ry, double angle, const Rgba& c,
                 double softness = 1.0, bool wrap = false);

    // Half the size each way, every pixel the mean of four (weighted by
    // alpha, so transparent pixels lend no colour). Painting large and
    // halving gives smooth edges and keeps small on-screen textures from
    // shimmering: the saver samples without mipmaps.
    Image halved() const;
    // The w x h pixels from (x0, y0) on, clipped to the image.
    Image part(int x0, int y0, int width, int height) const;

    // 8-bit RGBA bytes, rows top first. Hard alpha thresholds at one half and
    // gives transparent pixels the colour of their opaque neighbours, so
    // linear filtering does not pull dark fringes into the edges.
    std::vector<uint8_t> bytes(Alpha mode) const;
    std::vector<uint8_t> png(Alpha mode) const;

private:
    int w, h;
    std::vector<Rgba> pixels;
};
