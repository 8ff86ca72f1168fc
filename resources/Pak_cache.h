// The one process-wide cache of open packs, keyed by pack file name exactly
// as asked for. Each pack file is read once; model bytes and textures are
// handed out by (pack name, entry name).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "resources/Pak_entry.h"

class Pak;

class Pak_cache {
public:
    Pak_cache();
    ~Pak_cache();
    Pak_cache(const Pak_cache&) = delete;
    Pak_cache& operator=(const Pak_cache&) = delete;

    // Put in front of every pack name; a value starting with '0' means none.
    void set_directory(const std::string& dir);
    const std::string& get_directory() const;

    // Never null. A pack file that cannot be read is reported to the missing
    // pack handler and stays in the cache as an empty pack, so nothing in it
    // is found and the file is not tried again.
    Pak* open(const std::string& name);
    void release(const std::string& name);
    // The path a pack name is read from.
    std::string path_of(const std::string& name) const;

    // A pack read before it was asked for (Pak_prefetch), owned from here on.
    // Its first open takes it instead of reading the file again, once the
    // file is seen still there: a pack gone since is read, and reported, as
    // any pack is.
    void adopt(const std::string& name, Pak* pak);
    // Start-up is over: packs read ahead and never asked for, and pictures
    // decoded ahead that no request took, are freed.
    void drop_read_ahead();
    Pak_entry model_bytes(const std::string& pack, const std::string& entry);
    uint32_t texture(const std::string& pack, const std::string& entry);

    // The application's answer to a pack that cannot be read: the saver ends
    // there. Without a handler the empty pack is all that happens.
    using Missing_pack_handler = void (*)(const std::string& name);
    void on_missing_pack(Missing_pack_handler handler) { missing_pack = handler; }

    int32_t reference_count(const std::string& name) const;  // 0 when not open
    size_t open_count() const;

private:
    std::string directory;
    std::vector<Pak*> packs;
    std::vector<std::string> names;
    std::vector<int32_t> references;
    std::vector<Pak*> adopted_packs;
    std::vector<std::string> adopted_names;
    Missing_pack_handler missing_pack = nullptr;
};

// Constructed first of the process-wide objects (before texturegen_list and
// settings), destroyed last.
extern Pak_cache pak_cache;
