// Feeds bytes to the OBJ reader of pak import-obj the way it reads a file
// and its MTL: the bytes up to the first NUL are the OBJ, the rest is what
// every mtllib it names holds. Names are checked to stay in the OBJ's
// folder (one that does not exist, so no link is met) and touches every
// double of every triangle read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/pak/Obj_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t nul = input.find('\0');
    // A private copy of exactly the OBJ's bytes, so any read past it is caught.
    const std::vector<char> obj(input.begin(), nul == std::string::npos ? input.end() : input.begin() + long(nul));
    const std::string mtl = nul == std::string::npos ? "" : input.substr(nul + 1);
    const Obj_reader::File_source mtl_files = [&mtl](const std::string&, std::vector<uint8_t>& bytes) {
        bytes.assign(mtl.begin(), mtl.end());
        return Read_reason::ok;
    };
    Obj_reader reader;
    if (!reader.parse(obj.data(), obj.size(), "no-such-folder-for-fuzzing/model.obj", 1.0, false, mtl_files)) return 0;
    volatile double sum = 0;
    reader.each_triangle([&sum](const Obj_reader::Triangle& t) {
        for (size_t c = 0; c < 3; ++c)
            sum = sum + t.position[c][0] + t.position[c][1] + t.position[c][2] + t.texcoord[c][0] + t.texcoord[c][1] +
                  double(t.mesh);
    });
    for (const Obj_reader::Mesh& m : reader.meshes) sum = sum + double(m.material.size() + m.texture_path.size());
    return 0;
}
