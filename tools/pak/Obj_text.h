// The lines, words and numbers of an OBJ or MTL text, read where the text
// lies: nothing is copied and nothing of a line is kept, so reading costs
// no memory whatever the file holds. Lines end at \n, \r\n or a lone \r,
// and a NUL ends what is seen of a line; words are separated by blanks.
// A number is taken only when it is written whole: the modelling programs'
// parsers read "3x" as 3, "nan" or "abc" as 0 and wrap "4294967298".
#pragma once
#include <cstddef>
#include <string>
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
    // A texture v as packs hold it, running down the picture: 1 - the
    // file's, whose v runs up (OpenGL's way, and every modelling
    // program's); an empty word is v 0. False unless a finite number.
    static bool turned_v(std::string_view word, double& value);
    // 1 - x for a finite decimal x (one `number` takes), worked out
    // exactly in decimal digits: 1 - (1 - x) is x again, digit for digit,
    // so export-obj's v comes back to the very double it was.
    static std::string one_minus(std::string_view decimal);
    // An index that an int holds and not 0: digits with an optional minus.
    static bool index(std::string_view word, long& value);
    // A face corner: v, v/vt, v//vn or v/vt/vn; an index it lacks is 0.
    static bool corner(std::string_view word, long indices[3]);

    // Why a file's bytes cannot be read as UTF-8 text, for people: UTF-16,
    // with a byte-order mark or without one (every other byte 0, the words
    // then holding NUL bytes); empty when they can.
    static std::string encoding_problem(const char* data, size_t size);
    // The length of a UTF-8 byte-order mark that starts the text, or 0.
    static size_t bom_length(const char* data, size_t size);

private:
    std::string_view text;
    size_t at = 0;
};
