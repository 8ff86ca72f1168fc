#include "resources/Pak_cache.h"

#include "base/Whole_file.h"
#include "resources/Pak.h"

Pak_cache pak_cache __attribute__((init_priority(1001)));

Pak_cache::Pak_cache() : directory("0") {}

Pak_cache::~Pak_cache()
{
    // Packs still open at process end go with it; their memory is returned
    // here only so leak checkers see a clean exit. GL textures stay.
    for (Pak* p : packs) delete p;
    for (Pak* p : adopted_packs) delete p;
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
    const std::string path = path_of(name);
    Pak* pak = nullptr;
    bool readable = true;
    for (size_t i = 0; i < adopted_names.size(); ++i) {
        if (adopted_names[i] != name) continue;
        if (Whole_file::check(path, Pak::max_pack_size) == Read_reason::ok)
            pak = adopted_packs[i];
        else
            delete adopted_packs[i];
        adopted_packs.erase(adopted_packs.begin() + long(i));
        adopted_names.erase(adopted_names.begin() + long(i));
        break;
    }
    if (!pak) {
        pak = new Pak();
        readable = pak->read_file(path) == Read_reason::ok;
    }
    packs.push_back(pak);
    names.push_back(name);
    references.push_back(1);
    if (!readable && missing_pack) missing_pack(name);
    return pak;
}

std::string Pak_cache::path_of(const std::string& name) const
{
    // A directory starting with '0' stands for none: the name is the path.
    return (!directory.empty() && directory[0] == '0') ? name : directory + name;
}

void Pak_cache::adopt(const std::string& name, Pak* pak)
{
    adopted_names.push_back(name);
    adopted_packs.push_back(pak);
}

void Pak_cache::drop_read_ahead()
{
    for (Pak* p : adopted_packs) delete p;
    adopted_packs.clear();
    adopted_names.clear();
    for (Pak* p : packs) p->drop_decoded_ahead();
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
