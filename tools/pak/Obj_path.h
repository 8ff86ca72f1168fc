// The file names an OBJ and its MTL give (mtllib, map_Kd), taken against
// the folder they were read from. OBJ files come from strangers and their
// pictures end up in packs that are shared, so a name may be asked whether
// it stays inside the OBJ's folder.
#pragma once
#include <string>

class Obj_path {
public:
    // The folder part of a path, with its last separator; empty for none.
    static std::string folder_of(const std::string& path);
    // `name` against `folder`, unless it is absolute (or a Windows drive).
    static std::string against(const std::string& folder, const std::string& name);
    // Empty when `name`, taken against the OBJ's folder, stays inside it:
    // not absolute (nor a Windows drive), no ".." part, and no part on the
    // way a symbolic link (which may lead anywhere); else why not.
    static std::string leaves_folder(const std::string& folder, const std::string& name);
    // Why a name is refused, for people: the reason and the way round it.
    static std::string outside_text(const std::string& why);
    // A picture name as tools write it: Windows' backslashes are folder
    // separators everywhere, and a leading "./" or ".\" says nothing.
    static std::string plain_picture_name(std::string name);
};
