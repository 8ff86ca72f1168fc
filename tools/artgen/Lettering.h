// Lettering for the art, rendered with FreeType from a system font file into
// a coverage mask (0 to 1 per pixel) that the painters colour and light.
#pragma once
#include <string>
#include <vector>

struct Coverage {
    int width = 0, height = 0;
    std::vector<float> value;  // rows top first
    float at(int x, int y) const
    {
        return x < 0 || y < 0 || x >= width || y >= height ? 0.0f : value[size_t(y) * width + x];
    }
};

class Lettering {
public:
    explicit Lettering(const std::string& font_path);
    ~Lettering();
    Lettering(const Lettering&) = delete;
    Lettering& operator=(const Lettering&) = delete;

    // Empty when the font loaded; otherwise what went wrong.
    const std::string& problem() const { return error; }
    // The text at pixel_size (em height), with margin pixels of space round it.
    Coverage render(const std::string& text, int pixel_size, int margin) const;

private:
    void* library = nullptr;  // FT_Library
    void* face = nullptr;     // FT_Face
    std::string error;
};
