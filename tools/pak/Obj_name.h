// Texture names as OBJ and MTL files carry them. Readers of OBJ split a
// `usemtl` line at blanks, and procedural texture names hold one
// ("##Plasma64x64 ,90,150,175"), so a blank, a control byte and "%" are
// written as %XX (two hex digits) and read back. Other names pass unchanged.
#pragma once
#include <string>

class Obj_name {
public:
    static std::string encode(const std::string& name);
    // %XX with two hex digits becomes that byte; anything else stays.
    static std::string decode(const std::string& text);
};
