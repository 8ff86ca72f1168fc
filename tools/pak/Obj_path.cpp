#include "tools/pak/Obj_path.h"

#include <filesystem>

namespace {
bool absolute(const std::string& name)
{
    return name.empty() || name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':');
}
}  // namespace

std::string Obj_path::folder_of(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string Obj_path::against(const std::string& folder, const std::string& name)
{
    return absolute(name) ? name : folder + name;
}

std::string Obj_path::leaves_folder(const std::string& folder, const std::string& name)
{
    if (absolute(name)) return "is an absolute path";
    std::string path = folder, part;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size() && name[i] != '/' && name[i] != '\\') {
            part += name[i];
            continue;
        }
        if (part == "..") return "has a \"..\" part";
        if (part.empty() || part == ".") continue;
        path += part;
        std::error_code ec;
        if (std::filesystem::symlink_status(path, ec).type() == std::filesystem::file_type::symlink)
            return "meets a symbolic link";
        path += '/';
        part.clear();
    }
    return "";
}

std::string Obj_path::outside_text(const std::string& why)
{
    return why + ", which leads out of the OBJ's folder (--allow-outside reads it)";
}

std::string Obj_path::plain_picture_name(std::string name)
{
    for (char& c : name)
        if (c == '\\') c = '/';
    while (name.compare(0, 2, "./") == 0) name.erase(0, name.find_first_not_of('/', 2));
    return name;
}
