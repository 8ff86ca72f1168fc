// The entries of one pack as the builder makes them: models, images, in the
// order added, written out as one pack file.
#pragma once
#include "base/Write_status.h"
#include <cstdint>
#include <string>
#include <vector>

#include "Image.h"
#include "resources/Model_writer.h"

class Art_pack {
public:
    void add(const std::string& name, std::vector<uint8_t> data);
    void add_model(const std::string& name, const Model_writer& model) { add(name, model.bytes()); }
    // The texture name of a mesh is the entry name, flags included.
    void add_image(const std::string& name, const Image& image, Image::Alpha mode)
    {
        add(name, image.png(mode));
    }

    // Writes the pack; an entry that cannot be stored or a file that cannot
    // be written says why.
    Write_status save(const std::string& path) const;

    size_t entry_count() const { return names.size(); }
    // The bytes of the first entry of that name; empty when there is none.
    const std::vector<uint8_t>& entry(const std::string& name) const;

private:
    std::vector<std::string> names;
    std::vector<std::vector<uint8_t>> blocks;
};
