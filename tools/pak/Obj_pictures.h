// The pictures import-obj puts in a pack beside a model: a material's
// map_Kd file, held to what both builds show and scaled to sides every
// renderer takes, and for a material that names none a small square of its
// colour (Kd).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/Read_status.h"
#include "tools/pak/Obj_reader.h"

struct Pak_entry;

class Obj_pictures {
public:
    // The file's bytes (`read`: how reading them went) made into what the
    // pack keeps: kept byte for byte when they fit, else scaled or written
    // as PNG, a line of `notes` saying so. False with the problem said.
    static bool from_file(const Obj_reader::Mesh& m, Read_reason read, std::vector<uint8_t>& bytes,
                          std::vector<std::string>& notes);

    static const int square_side = 4;
    // The material's Kd as 8-bit R, G, B; light grey (Blender's default,
    // 0.8) without one.
    static void colour_of(const Obj_reader::Mesh& m, uint8_t rgb[3]);
    // A PNG of square_side pixels a side all of that colour; empty when it
    // cannot be made.
    static std::vector<uint8_t> square(const uint8_t rgb[3]);
    // True for such a square, of any colour: a picture import-obj made (or
    // one no different), which it may make again.
    static bool is_square(const Pak_entry& e);
};
