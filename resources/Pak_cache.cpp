#include "resources/Pak_cache.h"

#include "resources/Pak.h"

Pak_cache pak_cache __attribute__((init_priority(1001)));

Pak_cache::Pak_cache() : directory("0") {}

Pak_cache::~Pak_cache()
{
    // Packs still open at process end go with it; their memory is returned
    // here only so leak checkers see a clean exit. GL textures stay.
    for (Pak* p : packs) delete p;
}

void Pak_cache::set_directory(const std::string& dir) { directory = dir; }

const std::string& Pak_cache::get_directory() const { return directory; }

Pak* Pak_cache::open(const std::string& name)
{
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) {
            ++references[i];
            return packs[i];
        }
    }
    // A directory starting with '0' stands for none: the name is the path.
    std::string path = (!directory.empty() && directory[0] == '0') ? name : directory + name;
    Pak* pak = new Pak();
    const bool readable = pak->read_file(path) == Read_reason::ok;
    packs.push_back(pak);
    names.push_back(name);
    references.push_back(1);
    if (!readable && missing_pack) missing_pack(name);
    return pak;
}

void Pak_cache::release(const std::string& name)
{
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] != name) continue;
        if (--references[i] <= 0) {
            delete packs[i];
            packs.erase(packs.begin() + long(i));
            names.erase(names.begin() + long(i));
            references.erase(references.begin() + long(i));
        }
        return;
    }
}

Pak_entry Pak_cache::model_bytes(const std::string& pack, const std::string& entry)
{
    return open(pack)->find(entry);
}

uint32_t Pak_cache::texture(const std::string& pack, const std::string& entry)
{
    return open(pack)->texture(entry);
}

int32_t Pak_cache::reference_count(const std::string& name) const
{
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return references[i];
    return 0;
}

size_t Pak_cache::open_count() const { return packs.size(); }
