// The Windows build's tinyobjloader: its implementation from the header
// (Linux links Debian's shared library instead).
#define TINYOBJLOADER_IMPLEMENTATION
#include <tiny_obj_loader.h>
