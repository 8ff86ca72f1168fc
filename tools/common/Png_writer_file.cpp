// Writing the encoded bytes to a file: the same whichever encoder the build
// uses (libpng, or stb_image_write on Windows).
#include "tools/common/Png_writer.h"

#include <cstdio>
#include <vector>

bool Png_writer::write_file(const std::string& path, int width, int height, const uint8_t* rgba)
{
    std::vector<uint8_t> bytes = encode(width, height, rgba);
    if (bytes.empty()) return false;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}
