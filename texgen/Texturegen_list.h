// The one process-wide registry of procedural textures, keyed by the full
// texture name. lookup() creates the generator on first use; update_all()
// recomputes and uploads every generator's image for the current tick.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Texturegen;

class Texturegen_list {
public:
    Texturegen_list();
    ~Texturegen_list();
    Texturegen_list(const Texturegen_list&) = delete;
    Texturegen_list& operator=(const Texturegen_list&) = delete;

    uint32_t lookup(const char* name);  // GL texture name, 0 for a refused name
    void update_all();

    size_t size() const;
    Texturegen* generator(size_t index) const;

private:
    std::vector<Texturegen*> generators;
    std::vector<std::string> names;
};

// Constructed after pak_cache and before settings.
extern Texturegen_list texturegen_list;
