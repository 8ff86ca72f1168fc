#include "tests/support/Test_packs.h"

#include <cstdio>
#include <filesystem>

#include "resources/Model_writer.h"
#include "resources/Pack_names.h"
#include "tools/common/Png_writer.h"
#include "base/Byte_writer.h"

const char* const Test_packs::main_pack = Pack_names::main_pack;

std::string Test_packs::butterfly_pack(int number)
{
    return Pack_names::butterfly_packs[number - 1];
}

std::vector<uint8_t> Test_packs::png(int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    std::vector<uint8_t> rgba(size_t(w) * size_t(h) * 4);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = r;
        rgba[i + 1] = g;
        rgba[i + 2] = b;
        rgba[i + 3] = a;
    }
    return Png_writer::encode(w, h, rgba.data());
}

std::vector<uint8_t> Test_packs::quad_model(const std::string& texture_name, double half_w, double half_h)
{
    Model_writer m;
    m.begin_mesh(texture_name);
    const double x0 = -half_w, x1 = half_w, y0 = -half_h, y1 = half_h;
    // v = 0 is the image's top row.
    const double p1[9] = {x0, y0, 0, x1, y0, 0, x1, y1, 0};
    const double t1[6] = {0, 1, 1, 1, 1, 0};
    const double p2[9] = {x0, y0, 0, x1, y1, 0, x0, y1, 0};
    const double t2[6] = {0, 1, 1, 0, 0, 0};
    m.add_triangle(p1, t1);
    m.add_triangle(p2, t2);
    return m.bytes();
}

std::vector<uint8_t> Test_packs::pack_bytes(const Entries& entries)
{
    std::vector<uint8_t> out;
    // Written here by hand rather than by Pak::save, so that the pack
    // tests hold the reader to the layout itself.
    Byte_writer w(out);
    w.u32(uint32_t(entries.size()));
    for (const auto& e : entries) {
        w.u8(uint8_t(e.first.size()));
        w.text(e.first);
        w.u32(uint32_t(e.second.size()));
        w.bytes(e.second.data(), e.second.size());
    }
    return out;
}

bool Test_packs::write_pack(const std::string& path, const Entries& entries)
{
    std::vector<uint8_t> bytes = pack_bytes(entries);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool Test_packs::write_all(const std::string& folder)
{
    std::string dir = folder;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    std::error_code ec;
    if (!dir.empty()) std::filesystem::create_directories(dir, ec);

    // Background: a big bright quad; the tree and the overlay in front of it.
    Entries main_entries = {
        {Pack_names::tree, quad_model("tree.png", 6, 8)},
        {Pack_names::background, quad_model("#fon.png", 40, 30)},
        {Pack_names::overlay, quad_model("nn.png", 5, 3)},
        {"tree.png", png(8, 8, 40, 200, 60)},
        {"#fon.png", png(8, 8, 90, 140, 255)},
        {"nn.png", png(8, 8, 255, 230, 40)},
    };
    if (!write_pack(dir + main_pack, main_entries)) return false;

    const uint8_t wing_colours[5][3] = {
        {255, 80, 40}, {250, 60, 200}, {120, 255, 255}, {255, 160, 0}, {200, 120, 255}};
    for (int n = 1; n <= 5; ++n) {
        const uint8_t* c = wing_colours[n - 1];
        Entries butterfly = {
            {Pack_names::wing, quad_model("krilo.png", 1.5, 1.0)},
            {Pack_names::body, quad_model("brushko.png", 0.3, 1.2)},
            {"krilo.png", png(4, 4, c[0], c[1], c[2])},
            {"brushko.png", png(4, 4, 60, 40, 20)},
        };
        if (!write_pack(dir + butterfly_pack(n), butterfly)) return false;
    }
    return true;
}
