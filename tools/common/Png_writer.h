// Encodes 8-bit RGBA pixels (rows top first, no padding) as a PNG file, in
// memory or on disk. The packs carry their images as PNG entries.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class Png_writer {
public:
    // Empty result on failure (sizes below 1 or an encoder error).
    static std::vector<uint8_t> encode(int width, int height, const uint8_t* rgba);
    static bool write_file(const std::string& path, int width, int height, const uint8_t* rgba);
};
