// One pack file held in memory: a flat archive of named byte blocks (count,
// then records of name length, name, data size, data). Reading never trusts
// a count or a size: a file that runs short keeps the entries that were
// complete. Also the authoring side: add entries, save, extract, each safe
// against a hostile pack or folder (see save and extract_entry).
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Read_status.h"
#include "base/Write_status.h"
#include "resources/Pak_entry.h"

class Byte_cursor;
class Image_rgba;

class Pak {
public:
    static constexpr int max_name_length = 127;
    // Packs are read whole; anything larger than this is not one of ours.
    static constexpr size_t max_pack_size = size_t(1) << 30;

    Pak();
    ~Pak();
    Pak(const Pak&) = delete;
    Pak& operator=(const Pak&) = delete;

    // Reads the pack at path into this (empty) Pak; anything but ok says why
    // the file itself was refused (missing, not_regular ...). A short or
    // malformed directory is not a refusal: complete entries stay and
    // status() says what stopped the reading, after entry_count() entries.
    Read_reason read_file(const std::string& path);
    const Read_status& status() const;  // ok: read to its last record
    // Bytes after the last entry the count lists: data a rewrite would lose.
    // 0 when reading stopped early.
    size_t trailing_bytes() const;
    // Reads a pack held in memory into this (empty) Pak, as read_file does.
    void read_bytes(const uint8_t* data, size_t size);

    Pak_entry find(const std::string& name) const;   // first match, or empty
    // GL texture, 0 for none; needs the GL context. Defined with the
    // uploads (resources/Pak_texture.cpp): the pack itself needs no GL.
    uint32_t texture(const std::string& name);

    // Decoding a picture before it is asked for (start-up, while the display
    // opens): the result waits for the entry's first texture request, which
    // then only uploads it, or returns 0 when the decoding failed, as its own
    // failed decoding would; later requests decode afresh. Distinct entries
    // may be decoded on distinct threads at once while nothing else uses the
    // Pak.
    void decode_ahead(int32_t index);
    // Frees the pictures decoded ahead that no request took.
    void drop_decoded_ahead();
    bool has_decoded_ahead(int32_t index) const;

    bool add_file(const std::string& path);
    bool add_data(const std::string& name, const void* data, int32_t size);
    // Puts new bytes in the entry at `index`, keeping its name and place.
    bool replace_data(int32_t index, const void* data, int32_t size);
    // Takes the entry at `index` out; the ones after it move up a place.
    bool remove(int32_t index);
    // Writes the pack atomically (a temporary file beside it, flushed, then
    // renamed over it): on any failure the old file stays byte for byte. A
    // symbolic link or anything but a regular file at `path` is refused.
    Write_status save(const std::string& path) const;
    // What an entry of this name and size adds to a saved pack (its record),
    // and the size save() writes for the entries held now.
    static size_t record_size(size_t name_length, size_t data_size) { return 1 + name_length + 4 + data_size; }
    size_t saved_size() const;

    // Writes the entry to prefix + name, creating the folders the name holds.
    // Names that would land outside the prefix folder (absolute, with a ".."
    // part) are refused, and so is a name whose path meets a symbolic link
    // below that folder: folders are opened without following links and the
    // file is written beside its name and renamed over it, so nothing is ever
    // written through a link and a failure (a full disk) leaves an old file
    // there whole. Ends ok, outside_folder, or as Confined_writer::write.
    Write_status extract_entry(int32_t index, const std::string& prefix) const;
    // Every entry as extract_entry does; of entries sharing a name only the
    // first is written. False when any entry was not written. Each entry
    // not written is told to `refused`, when given, with why (a later entry
    // of a name: repeated_name), so a tool can say it.
    using Refusal = std::function<void(int32_t index, const Write_status& why)>;
    bool extract_all(const std::string& prefix, const Refusal& refused = nullptr) const;
    static bool safe_entry_path(const std::string& name);
    // False for an entry whose name an earlier entry already has: readers
    // never see it.
    bool first_of_its_name(int32_t index) const;

    int32_t entry_count() const;
    const std::string& name(int32_t index) const;
    Pak_entry entry(int32_t index) const;
    uint32_t texture_slot(int32_t index) const;

private:
    Read_status read_entries(Byte_cursor& cursor);
    int32_t index_of(const std::string& name) const;  // first match, or -1

    std::vector<uint32_t> texture_slots;
    std::vector<std::unique_ptr<Image_rgba>> decoded_ahead;  // null: not decoded ahead
    std::vector<std::vector<uint8_t>> blocks;
    std::vector<std::string> names;
    Read_status stopped;
    size_t trailing = 0;
};
