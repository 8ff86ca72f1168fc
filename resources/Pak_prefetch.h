// Reading packs and decoding their pictures ahead of the scene, on worker
// threads, while the main thread waits for the display to open: the scene
// then finds its packs read and only uploads the pictures. Only pictures
// the scene's models name are decoded: a pack may carry others, each up to
// 256 MiB decoded. Nothing here touches GL or the cache until hand_over, on
// the main thread.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class Pak;
class Pak_cache;

class Pak_prefetch {
public:
    // A pack file and the model entries of it the scene loads.
    struct Pack {
        std::string name;
        std::vector<std::string> models;
    };
    // Starts reading the packs from where the cache would read them (the
    // cache's directory must be set) and decoding the PNG entries their
    // models' meshes name as textures.
    Pak_prefetch(const Pak_cache& cache, const std::vector<Pack>& packs);
    // Waits for the workers; what was not handed over is freed.
    ~Pak_prefetch();
    Pak_prefetch(const Pak_prefetch&) = delete;
    Pak_prefetch& operator=(const Pak_prefetch&) = delete;

    // Waits for the workers, then gives every pack that was read to the
    // cache (Pak_cache::adopt). A pack that could not be read is left out:
    // its first request reads it, and reports it missing, as without this.
    void hand_over(Pak_cache& cache);

private:
    struct Job {
        size_t pack;
        int32_t entry;  // -1: read the pack
        int32_t size;   // of the entry
    };
    void work();
    bool next_job(Job& job);
    void join();

    std::vector<Pack> wanted;
    std::vector<std::string> paths;
    std::vector<std::unique_ptr<Pak>> packs;  // null: not read
    std::mutex lock;                          // guards jobs and next_pack
    std::vector<Job> jobs;
    size_t next_pack = 0;
    std::vector<std::thread> workers;
};
