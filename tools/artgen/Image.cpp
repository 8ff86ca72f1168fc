#include "Image.h"

#include <algorithm>

#include "tools/common/Png_writer.h"

Image::Image(int width, int height, Rgba fill)
    : w(width), h(height), pixels(size_t(width) * height, fill)
{
}

void Image::blend(int x, int y, const Rgba& c, double coverage)
{
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    Rgba& d = at(x, y);
    float a = clamp01(c.a * coverage);
    float out_a = a + d.a * (1 - a);
    if (out_a <= 0) return;
    // Colours are straight (not premultiplied), so weigh by alpha.
    d.r = (c.r * a + d.r * d.a * (1 - a)) / out_a;
    d.g = (c.g * a + d.g * d.a * (1 - a)) / out_a;
    d.b = (c.b * a + d.b * d.a * (1 - a)) / out_a;
    d.a = out_a;
}

void Image::ellipse(double cx, double cy, double rx, double ry, double angle, const Rgba& c,
                    double softness, bool wrap)
{
    double reach = std::max(rx, ry) + softness + 1;
    double ca = std::cos(angle), sa = std::sin(angle);
    paint(int(std::floor(cx - reach)), int(std::floor(cy - reach)), int(std::ceil(cx + reach)),
          int(std::ceil(cy + reach)),
          [&](double px, double py) {
              double dx = px - cx, dy = py - cy;
              double u = (dx * ca + dy * sa) / rx, v = (-dx * sa + dy * ca) / ry;
              double r = std::sqrt(u * u + v * v);
              // Distance from the rim in pixels, roughly.
              double edge = (1 - r) * std::min(rx, ry);
              return with_alpha(c, c.a * smoothstep(-softness * 0.5, softness * 0.5, edge));
          },
          wrap);
}

Image Image::part(int x0, int y0, int width, int height) const
{
    Image out(std::max(0, std::min(width, w - x0)), std::max(0, std::min(height, h - y0)));
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) out.at(x, y) = at(x0 + x, y0 + y);
    return out;
}

Image Image::halved() const
{
    Image out(std::max(1, w / 2), std::max(1, h / 2));
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int k = 0; k < 4; ++k) {
                const Rgba& p = at(std::min(w - 1, 2 * x + k % 2), std::min(h - 1, 2 * y + k / 2));
                r += p.r * p.a, g += p.g * p.a, b += p.b * p.a, a += p.a;
            }
            out.at(x, y) = a > 0 ? Rgba{r / a, g / a, b / a, a / 4} : Rgba{0, 0, 0, 0};
        }
    return out;
}

std::vector<uint8_t> Image::bytes(Alpha mode) const
{
    std::vector<uint8_t> out(size_t(w) * h * 4);
    auto byte = [](float v) { return uint8_t(std::lround(clamp01(v) * 255.0f)); };
    std::vector<uint8_t> solid(size_t(w) * h, 1);
    std::vector<Rgba> colour = pixels;
    if (mode == Alpha::hard) {
        double sr = 0, sg = 0, sb = 0;
        size_t n = 0;
        for (size_t i = 0; i < pixels.size(); ++i) {
            solid[i] = pixels[i].a > 0.5f;
            if (solid[i]) sr += pixels[i].r, sg += pixels[i].g, sb += pixels[i].b, ++n;
        }
        // Grow the opaque colours outward a few pixels, then fill the rest
        // with their mean.
        std::vector<uint8_t> known = solid;
        for (int pass = 0; pass < 4; ++pass) {
            std::vector<uint8_t> next = known;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    size_t i = size_t(y) * w + x;
                    if (known[i]) continue;
                    float r = 0, g = 0, b = 0;
                    int k = 0;
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx) {
                            int nx = x + dx, ny = y + dy;
                            if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                            size_t j = size_t(ny) * w + nx;
                            if (!known[j]) continue;
                            r += colour[j].r, g += colour[j].g, b += colour[j].b, ++k;
                        }
                    if (k) {
                        colour[i] = Rgba{r / k, g / k, b / k, 0};
                        next[i] = 1;
                    }
                }
            known = next;
        }
        Rgba mean = n ? Rgba{float(sr / n), float(sg / n), float(sb / n), 0} : Rgba{};
        for (size_t i = 0; i < colour.size(); ++i)
            if (!known[i]) colour[i] = mean;
    }
    for (size_t i = 0; i < colour.size(); ++i) {
        out[4 * i + 0] = byte(colour[i].r);
        out[4 * i + 1] = byte(colour[i].g);
        out[4 * i + 2] = byte(colour[i].b);
        switch (mode) {
        case Alpha::opaque: out[4 * i + 3] = 255; break;
        case Alpha::hard: out[4 * i + 3] = solid[i] ? 255 : 0; break;
        case Alpha::soft: out[4 * i + 3] = byte(pixels[i].a); break;
        }
    }
    return out;
}

std::vector<uint8_t> Image::png(Alpha mode) const
{
    std::vector<uint8_t> rgba = bytes(mode);
    return Png_writer::encode(w, h, rgba.data());
}
