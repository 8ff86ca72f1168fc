// What the art tests share: the packs the build wrote into bin/, the models
// the scene loads from them, and reading whole files.
#pragma once
#include <iterator>
#include <string>
#include <vector>

#include "resources/Background_fit.h"
#include "resources/Pack_names.h"
#include "resources/Pak.h"
#include "tests/support/Test_files.h"

namespace art {

inline const std::string bin_dir() { return GARDENLUME_BIN_DIR; }
inline const std::string artgen_path() { return bin_dir() + "/artgen"; }

inline std::vector<std::string> pack_names()
{
    std::vector<std::string> all = {Pack_names::main_pack};
    all.insert(all.end(), std::begin(Pack_names::butterfly_packs), std::end(Pack_names::butterfly_packs));
    return all;
}
inline std::vector<std::string> butterfly_packs()
{
    std::vector<std::string> all = pack_names();
    return std::vector<std::string>(all.begin() + 1, all.end());
}

inline std::string slurp(const std::string& path) { return Test_files::text(path); }

// The name the scene looks for the background cut round the shipped lawn
// under, worked out from bin/'s main.pak as the saver does.
inline std::string cut_background()
{
    Pak pak;
    if (pak.read_file(bin_dir() + "/" + Pack_names::main_pack) != Read_reason::ok) return std::string();
    return Background_fit::cut_name(pak.find(Pack_names::tree), pak.find(Pack_names::background));
}

}  // namespace art
