// Feeds raw text to the procedural texture name parser and, for names it
// accepts, builds the plasma image without GL.
#include <cstddef>
#include <cstdint>
#include <string>

#include "texgen/Plasma_image.h"
#include "texgen/Procedural_name.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string name(reinterpret_cast<const char*>(data), size);  // cut at the first NUL below
    Procedural_name parsed;
    if (!parsed.parse(name.c_str())) return 0;
    if (parsed.width < 1 || parsed.width > Procedural_name::max_size || parsed.height < 1 ||
        parsed.height > Procedural_name::max_size)
        __builtin_trap();
    // Keep each run quick: the image of a big texture says nothing new.
    if (parsed.kind == "Plasma" && parsed.width * parsed.height <= 128 * 128) {
        Plasma_image p(parsed.width, parsed.height, parsed.parameters.c_str());
        p.compute(int32_t(size * 997));
    }
    return 0;
}
