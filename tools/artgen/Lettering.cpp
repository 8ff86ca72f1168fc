#include "Lettering.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

Lettering::Lettering(const std::string& font_path)
{
    FT_Library lib;
    if (FT_Init_FreeType(&lib)) {
        error = "cannot start FreeType";
        return;
    }
    library = lib;
    FT_Face f;
    if (FT_New_Face(lib, font_path.c_str(), 0, &f)) {
        error = font_path + ": cannot load the font";
        return;
    }
    face = f;
}

Lettering::~Lettering()
{
    if (face) FT_Done_Face(static_cast<FT_Face>(face));
    if (library) FT_Done_FreeType(static_cast<FT_Library>(library));
}

Coverage Lettering::render(const std::string& text, int pixel_size, int margin) const
{
    Coverage out;
    if (!face) return out;
    FT_Face f = static_cast<FT_Face>(face);
    FT_Set_Pixel_Sizes(f, 0, FT_UInt(pixel_size));
    // First pass measures, second draws; both walk the same pen positions.
    struct Glyph_place {
        int x, y;
    };
    int pen = 0, top = 0, bottom = 0, left = 0, right = 0;
    std::vector<Glyph_place> places;
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
        FT_UInt index = FT_Get_Char_Index(f, ch);
        if (previous && index && FT_HAS_KERNING(f)) {
            FT_Vector k;
            FT_Get_Kerning(f, previous, index, FT_KERNING_DEFAULT, &k);
            pen += int(k.x >> 6);
        }
        if (FT_Load_Glyph(f, index, FT_LOAD_DEFAULT) || FT_Render_Glyph(f->glyph, FT_RENDER_MODE_NORMAL)) {
            places.push_back(Glyph_place{pen, 0});
            continue;
        }
        FT_GlyphSlot g = f->glyph;
        int gx = pen + g->bitmap_left, gy = -g->bitmap_top;
        places.push_back(Glyph_place{gx, gy});
        left = std::min(left, gx);
        right = std::max(right, gx + int(g->bitmap.width));
        top = std::min(top, gy);
        bottom = std::max(bottom, gy + int(g->bitmap.rows));
        pen += int(g->advance.x >> 6);
        previous = index;
    }
    out.width = right - left + 2 * margin;
    out.height = bottom - top + 2 * margin;
    out.value.assign(size_t(out.width) * out.height, 0.0f);
    size_t i = 0;
    for (unsigned char ch : text) {
        FT_UInt index = FT_Get_Char_Index(f, ch);
        Glyph_place place = places[i++];
        if (FT_Load_Glyph(f, index, FT_LOAD_DEFAULT) || FT_Render_Glyph(f->glyph, FT_RENDER_MODE_NORMAL))
            continue;
        const FT_Bitmap& bm = f->glyph->bitmap;
        for (unsigned r = 0; r < bm.rows; ++r)
            for (unsigned c = 0; c < bm.width; ++c) {
                int x = place.x - left + margin + int(c), y = place.y - top + margin + int(r);
                if (x < 0 || y < 0 || x >= out.width || y >= out.height) continue;
                float v = bm.buffer[r * bm.pitch + int(c)] / 255.0f;
                float& d = out.value[size_t(y) * out.width + x];
                d = std::max(d, v);
            }
    }
    return out;
}
