// Models loaded for the tests the way the scene loads them: the one model
// reader, then each mesh's texture resolved (so GL is needed for images).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "resources/Mesh.h"

class Test_models {
public:
    struct Loaded {
        std::vector<Mesh> meshes;
        bool read_to_end = false;  // every counted mesh read, no byte left over
        int triangles() const;
    };

    // Reads entry bytes as Node::load_model does; textures from `pack`.
    static Loaded read(const std::vector<uint8_t>& entry, const char* pack);
    // Model `entry` of `pack` through the process-wide pack cache; a missing
    // entry is a test failure.
    static Loaded load(const std::string& pack, const std::string& entry);
};
