// Feeds bytes to the OBJ reader of pak import-obj the way it reads a file
// and its MTL: the bytes up to the first NUL are the OBJ, the rest is what
// every mtllib it names holds. Names are checked to stay in the OBJ's
// folder (one that does not exist, so no link is met) and touches every
// double of every mesh read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/pak/Obj_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t nul = input.find('\0');
    const std::string obj = input.substr(0, nul);
    const std::string mtl = nul == std::string::npos ? "" : input.substr(nul + 1);
    const Obj_reader::File_source mtl_files = [&mtl](const std::string&, std::vector<uint8_t>& bytes) {
        bytes.assign(mtl.begin(), mtl.end());
        return Read_reason::ok;
    };
    Obj_reader reader;
    reader.parse(obj, "no-such-folder-for-fuzzing/model.obj", 1.0, false, mtl_files);
    volatile double sum = 0;
    for (const Obj_reader::Mesh& m : reader.meshes) {
        for (double v : m.positions) sum = sum + v;
        for (double v : m.texcoords) sum = sum + v;
        sum = sum + double(m.material.size() + m.texture_path.size());
    }
    return 0;
}
