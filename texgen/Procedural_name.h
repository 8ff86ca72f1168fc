// Reads a procedural texture name: two flag characters, the kind (letters up
// to the first digit), width, one separator character, height, then the
// generator's parameter word ("##Plasma64x64 ,250,10,20").
#pragma once
#include <string>

class Procedural_name {
public:
    static constexpr int max_size = 4096;

    // False when the name has no digit after the flags, or the width or the
    // height is missing or outside 1..max_size. Nothing larger than the name
    // is allocated whatever the digits say.
    bool parse(const char* name);

    std::string kind;
    int width = 0;
    int height = 0;
    std::string parameters;
};
