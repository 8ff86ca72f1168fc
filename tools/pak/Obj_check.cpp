#include "tools/pak/Obj_check.h"

#include <cmath>
#include <cstdio>

#include "tools/pak/Obj_text.h"

namespace {
struct Numbers {
    const char* keyword;
    size_t least, most;
    size_t Obj_check::*count;
};
// The coordinates a line of each kind holds (a vertex may carry w or a
// colour after x y z).
const Numbers kinds[] = {
    {"v", 3, 7, &Obj_check::positions}, {"vt", 1, 3, &Obj_check::texcoords}, {"vn", 3, 3, &Obj_check::normals}};

std::string in_quotes(std::string_view w) { return "\"" + std::string(w) + "\""; }

std::string scale_text(double scale)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", scale);
    return text;
}
}  // namespace

bool Obj_check::refuse(size_t number, const std::string& what)
{
    problem = "line " + std::to_string(number) + ": " + what;
    return false;
}

bool Obj_check::coordinates(std::string_view keyword, std::string_view rest, size_t number, double scale)
{
    for (const Numbers& n : kinds) {
        if (keyword != n.keyword) continue;
        const size_t count = Obj_text::word_count(rest);
        if (count < n.least || count > n.most)
            return refuse(number, std::string(keyword) + " holds " + std::to_string(count) + " numbers, not " +
                                      std::to_string(n.least) + (n.least == n.most ? "" : " to " + std::to_string(n.most)));
        for (size_t k = 0; k < count; ++k) {
            const std::string_view w = Obj_text::word(rest);
            double value = 0;
            // A texture v is turned as it is read (1 - v): that too must be a number.
            const bool v = n.count == &Obj_check::texcoords && k == 1;
            if (!(v ? Obj_text::turned_v(w, value) : Obj_text::number(w, value)))
                return refuse(number, in_quotes(w) + " is not a finite number");
            // Positions are scaled as they are read: 1e300 by 1e10 is no number.
            if (n.count == &Obj_check::positions && k < 3 && !std::isfinite(value * scale))
                return refuse(number, in_quotes(w) + " is not a finite number once scaled by " + scale_text(scale));
        }
        ++(this->*n.count);
    }
    return true;
}

bool Obj_check::face(std::string_view rest, size_t number)
{
    size_t count = 0;
    for (std::string_view w = Obj_text::word(rest); !w.empty(); w = Obj_text::word(rest), ++count) {
        long indices[3];
        if (!Obj_text::corner(w, indices))
            return refuse(number, "face corner " + in_quotes(w) + " is not an index that an int holds (not 0)");
    }
    if (count < 3) return true;
    ++faces;
    corners += count;
    triangles += count - 2;
    if (has_material && !material_counted) materials.insert(material);
    material_counted = has_material;
    return true;
}

bool Obj_check::line(const Obj_text& text, double scale)
{
    std::string_view rest = text.line;
    const std::string_view keyword = Obj_text::word(rest);
    if (keyword == "f") return face(rest, text.line_number);
    if (keyword == "usemtl") {
        // The whole rest of the line, as newmtl names it: names may hold blanks.
        material = std::string(Obj_text::rest(rest));
        has_material = true;
        material_counted = false;
        return true;
    }
    return coordinates(keyword, rest, text.line_number, scale);
}

bool Obj_check::check(const char* text, size_t size, double scale)
{
    *this = Obj_check();
    Obj_text lines(text, size);
    while (lines.next_line())
        if (!line(lines, scale)) return false;
    return true;
}
