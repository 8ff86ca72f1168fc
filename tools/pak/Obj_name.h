// Texture names as OBJ and MTL files carry them. Readers of OBJ split a
// `usemtl` line at blanks, and procedural texture names hold one
// ("##Plasma64x64 ,90,150,175"), so a blank, a control byte and "%" are
// written as %XX (two hex digits) and read back. Other names pass unchanged.
// Also the file names an export gives a pack's names.
#pragma once
#include <string>

class Obj_name {
public:
    static std::string encode(const std::string& name);
    // %XX with two hex digits becomes that byte; anything else stays.
    static std::string decode(const std::string& text);

    // A file name for a model's or texture's name that Linux and Windows
    // both take as a plain file, since an export travels: a blank (MTL
    // readers split map_Kd at blanks), a control byte and <>:"/\|?* become
    // "_", the name ends in `suffix` (added unless it is there, so never in
    // a dot or a blank), and a device's name before the first dot (CON,
    // NUL, COM1, "con.txt", any case) gets "_" after it. Different names may
    // come out equal: the caller keeps its files apart.
    static std::string file_name(const std::string& name, const std::string& suffix);
};
