// artgen: paints and builds the garden's packs, "main.pak" and
// "butterfly1.pak" to "butterfly5.pak", into a folder. Everything comes from
// seeded code, so two runs write the same bytes. The build runs it; people
// run it to look at the art after changing it:
//   artgen <output folder> [font file]
#include <cstdio>
#include <string>

#include "Art_pack.h"
#include "Background_art.h"
#include "Butterfly_art.h"
#include "Garden_model.h"
#include "Lettering.h"
#include "Overlay_art.h"
#include "resources/Pack_names.h"

#ifndef GARDENLUME_ART_FONT
#define GARDENLUME_ART_FONT "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"
#endif

namespace {
bool save(const Art_pack& pack, const std::string& path)
{
    const Write_status status = pack.save(path);
    if (status.ok()) return true;
    std::fprintf(stderr, "artgen: %s: %s\n", path.c_str(), status.text().c_str());
    return false;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3 || argv[1][0] == '\0' || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: artgen <output folder> [font file]\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '/') folder += '/';
    Lettering font(argc == 3 ? argv[2] : GARDENLUME_ART_FONT);
    if (!font.problem().empty()) {
        std::fprintf(stderr, "artgen: %s\n", font.problem().c_str());
        return 1;
    }

    // Models first in each pack, then their textures.
    Art_pack main_pack;
    Garden_model::build(main_pack);
    Background_art::build(main_pack);
    Overlay_art::build(main_pack, font);
    if (!save(main_pack, folder + Pack_names::main_pack)) return 1;

    for (int i = 0; i < Butterfly_art::species_count; ++i) {
        Art_pack pack;
        Butterfly_art::build(i, pack);
        if (!save(pack, folder + Butterfly_art::pack_name(i))) return 1;
    }
    return 0;
}
