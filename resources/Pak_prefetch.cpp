#include "resources/Pak_prefetch.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <system_error>

#include "resources/Image_rgba.h"
#include "resources/Model.h"
#include "resources/Pak.h"
#include "resources/Pak_cache.h"

namespace {

// Opening the display keeps the main thread busy on its core: the workers
// take the others, at most two (the largest picture takes one, the rest the
// other), and one where there is no other core.
unsigned worker_count()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return cores >= 3 ? 2 : 1;
}

// Only PNG entries are decoded ahead: the packs' pictures are PNG, and the
// decoder is then never asked about other bytes a texture name may name,
// which it would refuse (setting the media layer's one error text from a
// worker thread).
bool is_png(const Pak_entry& e)
{
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return e.size >= 8 && std::memcmp(e.data, signature, 8) == 0;
}

// The textures the models' meshes take from their own pack: the entry names
// Mesh::resolve_texture asks the pack for.
std::set<std::string> textures_named(const Pak& pak, const std::vector<std::string>& models)
{
    std::set<std::string> textures;
    for (const std::string& model : models) {
        const Pak_entry e = pak.find(model);
        if (e.empty()) continue;
        const Model read = Model::read(e.data, size_t(e.size));
        for (const Mesh_record& mesh : read.meshes)
            if (!mesh.is_procedural()) textures.insert(mesh.texture_name);
    }
    return textures;
}

}  // namespace

Pak_prefetch::Pak_prefetch(const Pak_cache& cache, const std::vector<Pack>& wanted_packs) : wanted(wanted_packs)
{
    for (const Pack& pack : wanted) paths.push_back(cache.path_of(pack.name));
    packs.resize(wanted.size());
    Image_rgba::ready_for_threads();
    const unsigned count = worker_count();
    for (unsigned i = 0; i < count; ++i) {
        try {
            workers.emplace_back(&Pak_prefetch::work, this);
        } catch (const std::system_error&) {
            break;  // fewer workers; with none, the scene reads everything itself
        }
    }
}

Pak_prefetch::~Pak_prefetch() { join(); }

void Pak_prefetch::join()
{
    for (std::thread& t : workers) t.join();
    workers.clear();
}

void Pak_prefetch::hand_over(Pak_cache& cache)
{
    join();
    for (size_t i = 0; i < packs.size(); ++i)
        if (packs[i]) cache.adopt(wanted[i].name, packs[i].release());
}

bool Pak_prefetch::next_job(Job& job)
{
    std::lock_guard<std::mutex> hold(lock);
    if (next_pack < paths.size()) {
        job = Job{next_pack++, -1, 0};
        return true;
    }
    if (jobs.empty()) return false;
    job = jobs.back();
    jobs.pop_back();
    return true;
}

void Pak_prefetch::work()
{
    Job job{0, -1, 0};
    while (next_job(job)) {
        if (job.entry >= 0) {
            packs[job.pack]->decode_ahead(job.entry);
            continue;
        }
        std::unique_ptr<Pak> pak(new Pak());
        if (pak->read_file(paths[job.pack]) != Read_reason::ok) continue;
        // A texture is the first entry of its name, as the scene looks it up.
        const std::set<std::string> textures = textures_named(*pak, wanted[job.pack].models);
        std::vector<Job> pictures;
        for (int32_t i = 0; i < pak->entry_count(); ++i) {
            const Pak_entry e = pak->entry(i);
            if (textures.count(pak->name(i)) && pak->first_of_its_name(i) && is_png(e))
                pictures.push_back(Job{job.pack, i, e.size});
        }
        packs[job.pack] = std::move(pak);
        std::lock_guard<std::mutex> hold(lock);
        jobs.insert(jobs.end(), pictures.begin(), pictures.end());
        // Largest last, so taken first: the longest decodings start early.
        std::sort(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) { return a.size < b.size; });
    }
}
