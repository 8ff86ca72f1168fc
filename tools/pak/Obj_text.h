// The lines, words and numbers of an OBJ or MTL text, read where the text
// lies: nothing is copied and nothing of a line is kept, so reading costs
// no memory whatever the file holds. Lines end at \n, \r\n or a lone \r,
// and a NUL ends what is seen of a line; words are separated by blanks.
// A number is taken only when it is written whole: the modelling programs'
// parsers read "3x" as 3, "nan" or "abc" as 0 and wrap "4294967298".
#pragma once
#include <cstddef>
#include <string_view>

class Obj_text {
public:
    Obj_text(const char* data, size_t size) : text(data, size) {}

    // Moves to the next line; false after the last one.
    bool next_line();
    std::string_view line;  // without its ending, up to a NUL
    size_t line_number = 0;  // counted from 1

    // The first word of `rest`, taken off it; empty when none is left.
    static std::string_view word(std::string_view& rest);
    // The whole of `rest` without the blanks around it: a name that may
    // hold blanks (usemtl, newmtl, map_Kd).
    static std::string_view rest(std::string_view rest);
    // How many words `rest` holds.
    static size_t word_count(std::string_view rest);
    // A finite decimal: [+-] digits [. digits] [e [+-] digits], or with the
    // digits after the point only.
    static bool number(std::string_view word, double& value);
    // An index that an int holds and not 0: digits with an optional minus.
    static bool index(std::string_view word, long& value);
    // A face corner: v, v/vt, v//vn or v/vt/vn; an index it lacks is 0.
    static bool corner(std::string_view word, long indices[3]);

private:
    std::string_view text;
    size_t at = 0;
};
