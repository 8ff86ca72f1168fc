#include "texgen/Texturegen_list.h"

#include <SDL.h>
#include <GL/gl.h>

#include <memory>

#include "texgen/Plasma.h"
#include "texgen/Procedural_name.h"

Texturegen_list texturegen_list __attribute__((init_priority(1002)));

Texturegen_list::Texturegen_list() = default;

Texturegen_list::~Texturegen_list()
{
    // Generators live to the end of the process; their memory is returned
    // here only so leak checkers see a clean exit. GL textures stay.
    for (Texturegen* g : generators) delete g;
}

uint32_t Texturegen_list::lookup(const char* name)
{
    if (!name) return 0;
    for (size_t i = 0; i < generators.size(); ++i)
        if (names[i] == name) return generators[i]->texture();

    Procedural_name parsed;
    if (!parsed.parse(name) || parsed.kind != "Plasma") return 0;
    GLint max_size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_size);
    if (parsed.width > max_size || parsed.height > max_size) return 0;

    std::unique_ptr<Texturegen> made(new Plasma(parsed.width, parsed.height, parsed.parameters.c_str()));
    // Room first, so a failed allocation records nothing.
    generators.reserve(generators.size() + 1);
    names.reserve(names.size() + 1);
    names.emplace_back(name);
    generators.push_back(made.release());
    return generators.back()->texture();
}

void Texturegen_list::update_all()
{
    const int32_t now = int32_t(SDL_GetTicks());
    for (Texturegen* g : generators) g->generate(now);
}

size_t Texturegen_list::size() const { return generators.size(); }

Texturegen* Texturegen_list::generator(size_t index) const
{
    return index < generators.size() ? generators[index] : nullptr;
}
