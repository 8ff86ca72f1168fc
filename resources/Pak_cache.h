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

    Pak* open(const std::string& name);  // never null: unreadable packs exit(1)
    void release(const std::string& name);
    Pak_entry model_bytes(const std::string& pack, const std::string& entry);
    uint32_t texture(const std::string& pack, const std::string& entry);

    int32_t reference_count(const std::string& name) const;  // 0 when not open
    size_t open_count() const;

private:
    std::string directory;
    std::vector<Pak*> packs;
    std::vector<std::string> names;
    std::vector<int32_t> references;
};

// Constructed first of the process-wide objects (before texturegen_list and
// settings), destroyed last.
extern Pak_cache pak_cache;
