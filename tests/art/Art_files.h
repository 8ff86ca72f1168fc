// What the art tests share: the packs the build wrote into bin/, the models
// the scene loads from them, and reading whole files.
#pragma once
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace art {

inline const std::string bin_dir() { return GARDENLUME_BIN_DIR; }
inline const std::string artgen_path() { return bin_dir() + "/artgen"; }

inline std::vector<std::string> pack_names()
{
    return {"main.pak",       "butterfly1.pak", "butterfly2.pak",
            "butterfly3.pak", "butterfly4.pak", "butterfly5.pak"};
}
inline std::vector<std::string> butterfly_packs()
{
    std::vector<std::string> all = pack_names();
    return std::vector<std::string>(all.begin() + 1, all.end());
}

inline std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace art
