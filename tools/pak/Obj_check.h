// An OBJ text read line by line before tinyobjloader parses it, for what
// the parser would take silently: it reads numbers with atoi and its own
// float reader, so "4294967298" wraps to an index, "3x" is 3 and "nan" or
// "abc" is 0, and it keeps a face's corner count in a byte. Every number
// of a v, vt, vn and f line is checked whole here (a finite decimal; an
// index an int holds, not 0), and each face's corners are counted, so that
// the reader cuts faces of more than 255 corners right.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

class Obj_check {
public:
    // False with `problem` set ("line N: ...") at the first bad line.
    bool check(const std::string& text);

    std::string problem;
    // The corner count of every face the parser keeps (3 corners or more),
    // in the order of the file.
    std::vector<size_t> face_corners;

private:
    bool line(const char* text, size_t number);
    bool refuse(size_t number, const std::string& what);
};
