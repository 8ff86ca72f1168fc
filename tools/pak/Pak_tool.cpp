#include "tools/pak/Pak_tool.h"

#include <cstdio>
#include <exception>
#include <new>
#include <string>

#include "tools/pak/Pak_commands.h"
#include "tools/pak/Pak_io.h"

namespace {
using Args = Pak_commands::Args;

struct Command {
    const char* name;
    const char* arguments;
    const char* purpose;
    size_t min_args;
    size_t max_args;  // 0: no upper limit
    int (*run)(const Args&);
};

int cmd_help(const Args&);

const Command commands[] = {
    {"list", "PACK", "every entry: name, size, kind (model, image WxH, other)", 1, 1, Pak_commands::list},
    {"create", "OUT FILE...", "a new pack of the files, each named by its path as given", 2, 0, Pak_commands::create},
    {"add", "[--replace] PACK NAME FILE", "append FILE as entry NAME; --replace: new bytes for entry NAME", 3, 4,
     Pak_commands::add},
    {"remove", "PACK NAME...", "take the entries out (all or, when one is not there, none)", 2, 0,
     Pak_commands::remove},
    {"extract", "PACK PREFIX", "every entry to PREFIX followed by its name", 2, 2, Pak_commands::extract},
    {"info", "PACK ENTRY", "a model's meshes: texture, flags, triangles, bounding box", 2, 2, Pak_commands::info},
    {"texgen", "NAME MILLISECONDS OUT.png", "the image of a procedural texture at that time", 3, 3, Pak_commands::texgen},
    {"export-obj", Pak_commands::export_obj_arguments, "model ENTRY as DIR/ENTRY.obj, .mtl and a PNG a texture", 3, 5,
     Pak_commands::export_obj},
    {"import-obj", Pak_commands::import_obj_arguments,
     "OBJ+MTL as model ENTRY, map_Kd images as entries (PACK made if missing)", 3, 9, Pak_commands::import_obj},
    {"verify", "DIR", "every pack and entry the saver needs is present and reads", 1, 1, Pak_commands::verify},
    {"help", "", "this text (also -h, --help), with what the commands refuse", 0, 1, cmd_help},
};

// What the writing commands refuse, and why: each refusal is one line on
// stderr and exit 1, with no pack changed. Lines stay within 80 columns.
const char* const refusals[] = {
    "create, add: an input that is not a readable regular file (a folder, device,",
    "             FIFO); a name already in the pack: readers would only see the",
    "             first (pak add --replace replaces that entry in place); a pack",
    "             path that is a symbolic link or not a regular file",
    "add, remove: a broken pack, or one with bytes after its listed entries:",
    "             rewriting it would lose them; list, info, verify warn of such",
    "             bytes",
    "add --replace, remove: a name the pack does not hold, naming the entry meant",
    "             when one differs only by its flags (bark.png for #_bark.png)",
    "extract:     a name outside PREFIX's folder (absolute, \"..\"), or whose path",
    "             meets a symbolic link; a name seen before is skipped; the other",
    "             entries go on",
    "add, import-obj: a picture both builds cannot show: not PNG or JPEG (GIF,",
    "             BMP, XPM...; import-obj writes a PNG of one stb_image reads),",
    "             over 8192 pixels on a side (read from its header, nothing",
    "             decoded), or one either build's decoder cannot read or that the",
    "             two show differently; verify names such a texture (sides not",
    "             powers of two or over 1024: a warning)",
    "import-obj:  an index outside its array, UTF-16 text (save it as UTF-8), an",
    "             MTL or map_Kd image that cannot be read or is refused as a",
    "             picture, a name over 127 bytes or already in the pack",
    "             (--replace replaces it), a model or pack larger than the saver",
    "             reads",
    "import-obj:  a number the OBJ parser would bend, naming its line: an index",
    "             beyond an int, 0 or with other characters (3x), a coordinate",
    "             nan, inf or no number",
    "import-obj:  an mtllib or map_Kd name leading out of the OBJ's folder",
    "             (absolute, a \"..\" part, a symbolic link on the way) unless",
    "             --allow-outside",
    "export-obj:  a file of the export that is a symbolic link or not a regular",
    "             file: nothing is written through a link, nothing at all then",
    "Packs (and the files of export-obj and extract) are written to a new file",
    "beside them, flushed, then renamed over the old one: a failure at any point",
    "(a full disk) leaves the old file byte for byte.",
};

// How our models look as OBJ + MTL, for people working on them elsewhere.
const char* const obj_notes[] = {
    "one object (o) and one material a mesh; the material's name is the texture's",
    "name, drawing flags included: #_ opaque, __ alpha-tested, #$ blended, ##",
    "procedural; a material without them comes in as #_ (opaque); blanks and %",
    "are written %20, %25",
    "texture v runs up the picture in OBJ files, as in OpenGL and modelling",
    "programs (v = 0 is the bottom row), and down it in packs: it is turned",
    "(1 - v) on the way in and back on the way out, exactly",
    "normals: export writes each triangle's face normal; models store none",
    "procedural (##) textures get no image file: the saver makes them",
    "import-obj: faces (of any number of corners) are cut into triangles, one",
    "mesh a material in order of first use",
    "import-obj: a material without map_Kd (or faces without one) gets a made 4x4",
    "picture of its Kd (light grey without), named after it, shared by materials",
    "of one colour and the same flags; a picture of that name in the pack is kept",
    "(and said so), but with --replace one made before, named by no other model,",
    "is made again. map_Kd may hold options, blanks and \\ as folder separator.",
    "Pictures are scaled to power-of-two sides, at most 1024; BMP and TGA become",
    "PNG. --up y: the file's +Y is up (Blender), turned to the garden's +Z;",
    "export-obj --up y writes the same",
    "import-obj --replace: the pictures only the replaced model named, named by",
    "no other model nor the new one, are taken out (pak extract keeps a copy)",
    "export-obj: texture files whose names would be equal (also but for case) get",
    "-2, -3; file names are ones Windows takes too: <>:\"/\\|?*, blanks and",
    "control characters become _, a device name (CON, nul.txt, COM1...) gets _",
    "after it",
};

void usage(FILE* out)
{
    std::fprintf(out, "usage:\n");
    for (const Command& c : commands) {
        // The call within 80 columns, cut at a blank, then what it does.
        std::string call = std::string("  pak ") + c.name + (*c.arguments ? " " : "") + c.arguments;
        for (size_t cut; call.size() > 80 && (cut = call.rfind(' ', 80)) != std::string::npos;) {
            std::fprintf(out, "%s\n", call.substr(0, cut).c_str());
            call = "        " + call.substr(cut + 1);
        }
        std::fprintf(out, "%s\n      %s\n", call.c_str(), c.purpose);
    }
}

int cmd_help(const Args&)
{
    usage(stdout);
    std::printf("refused:\n");
    for (const char* line : refusals) std::printf("  %s\n", line);
    std::printf("OBJ files (export-obj, import-obj):\n");
    for (const char* line : obj_notes) std::printf("  %s\n", line);
    std::printf("exit codes: 0 done, 1 a problem with a file, 2 bad arguments\n");
    return Pak_io::ok;
}
}  // namespace

namespace {
int run_command(int argc, char** argv)
{
    if (argc < 2) {
        usage(stderr);
        return Pak_io::usage_error;
    }
    std::string name = argv[1];
    // The spellings people try first for help.
    if (name == "--help" || name == "-h") return cmd_help(Args());
    for (const Command& c : commands) {
        if (name != c.name) continue;
        Args args(argv + 2, argv + argc);
        if (args.size() < c.min_args || (c.max_args && args.size() > c.max_args)) {
            std::fprintf(stderr, "usage: pak %s %s\n", c.name, c.arguments);
            return Pak_io::usage_error;
        }
        return c.run(args);
    }
    std::fprintf(stderr, "pak: unknown command \"%s\"\n", name.c_str());
    usage(stderr);
    return Pak_io::usage_error;
}
}  // namespace

// Nothing the library throws (no memory for a huge file, a filesystem
// error) ends pak with an abort: one line and exit 1, as for any problem.
int Pak_tool::run(int argc, char** argv)
{
    try {
        return run_command(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "pak: out of memory\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pak: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "pak: stopped by an unknown error\n");
    }
    return Pak_io::failure;
}
