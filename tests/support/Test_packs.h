// Small packs made by code for the tests: a complete installation folder
// ("main.pak" with "tree", "fon", "nn"; "butterfly1.pak" to "butterfly5.pak"
// with "krilo", "brushko"), each model a flat quad with its own solid PNG
// texture, visible from the saver's camera. Plus the bricks to build others.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class Test_packs {
public:
    using Entries = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

    // Writes all six packs into folder (with or without a trailing "/"),
    // creating the folder when it does not exist.
    static bool write_all(const std::string& folder);

    // A w x h PNG of one RGBA colour.
    static std::vector<uint8_t> png(int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255);
    // A model entry of one mesh: a quad in the z = 0 plane from (-half_w,
    // -half_h) to (half_w, half_h), two triangles, the whole texture on it.
    static std::vector<uint8_t> quad_model(const std::string& texture_name, double half_w, double half_h);
    // A pack file of these entries, in this order.
    static bool write_pack(const std::string& path, const Entries& entries);
    // The bytes of such a pack file.
    static std::vector<uint8_t> pack_bytes(const Entries& entries);

    // Texture entry names and colours used by write_all (the models' meshes
    // name these textures).
    static const char* const main_pack;            // "main.pak"
    static std::string butterfly_pack(int number);  // "butterfly1.pak" for 1
};
