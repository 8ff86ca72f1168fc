#include "tools/pak/Pak_models.h"

#include "resources/Image_rgba.h"
#include "resources/Model.h"
#include "resources/Pak.h"

bool Pak_models::is_model(const Pak_entry& e)
{
    if (e.size < 5 || Image_rgba::read_header(e.data, e.size).format) return false;
    const Model m = Model::read(e.data, size_t(e.size));
    return m.has_header && m.status.ok() && m.declared >= 0;
}

Pak_models::Pak_models(const Pak& pak)
{
    // Only the first entry of a name is ever read.
    for (int32_t i = 0; i < pak.entry_count(); ++i) {
        if (!pak.first_of_its_name(i) || !is_model(pak.entry(i))) continue;
        const Pak_entry e = pak.entry(i);
        std::set<std::string> pictures;
        for (const Mesh_record& m : Model::read(e.data, size_t(e.size)).meshes)
            if (!m.is_procedural()) pictures.insert(m.texture_name);
        models.emplace_back(pak.name(i), std::move(pictures));
    }
}

std::vector<std::string> Pak_models::naming(const std::string& picture, const std::string& except) const
{
    std::vector<std::string> found;
    for (const auto& [model, pictures] : models)
        if (model != except && pictures.count(picture)) found.push_back(model);
    return found;
}

std::set<std::string> Pak_models::pictures_of(const std::string& model) const
{
    for (const auto& [name, pictures] : models)
        if (name == model) return pictures;
    return {};
}
