// What every pak command shares: one-line problems on stderr, reading the
// files a command is given through the one bounded reader, loading and
// saving packs with their problems said.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/Read_status.h"

class Pak;

class Pak_io {
public:
    static const int ok = 0;
    static const int failure = 1;
    static const int usage_error = 2;

    // "pak: FILE: WHAT" on stderr.
    static void problem(const std::string& file, const std::string& what);
    static std::string quoted(const std::string& name);
    // "N bytes after the last of its M listed entries".
    static std::string trailing_text(const Pak& pak);
    // What stopped the reading of a pack's directory, for people: the
    // table's text, the entry and the byte.
    static std::string stop_text(const Pak& pak);
    // A folder, device or FIFO is refused without blocking or allocating
    // its "size"; a refusal is said on stderr.
    static bool read_input(const std::string& path, std::vector<uint8_t>& bytes);
    // Reads a pack for a command; a broken directory is reported (one line)
    // but its complete entries are still there for the caller. Bytes after
    // the listed entries are a warning only: nothing the readers see is
    // missing.
    static bool load(Pak& pak, const std::string& path, bool& truncated, bool warn_trailing = true);
    static void warn_trailing(const Pak& pak, const std::string& path);
    // Reads a pack a command will write back: one that is broken or holds
    // bytes after its listed entries is refused (said on stderr), since the
    // rewrite would lose them. With may_be_missing a path where nothing is
    // gives an empty pack.
    static bool load_for_rewrite(Pak& pak, const std::string& path, bool may_be_missing = false);
    static bool save(const Pak& pak, const std::string& path);
    static int32_t index_of(const Pak& pak, const std::string& name);
    // Takes out every entry of that name; how many there were.
    static int remove_all(Pak& pak, const std::string& name);
    // True when a name starts with drawing flags of a kind import-obj
    // gives its materials: #_ opaque, __ alpha-tested, #$ blended, ##
    // procedural.
    static bool has_flags(const std::string& name);
    // The entry a name that the pack does not hold was meant for: the same
    // name with other flags or none ("bark.png" for "#_bark.png"); empty
    // when none is.
    static std::string meant(const Pak& pak, const std::string& name);

    // "1 mesh", "2 meshes".
    static std::string count(size_t n, const char* one, const char* more);
    // "a", "b", "c", each quoted, with commas.
    static std::string quoted_list(const std::vector<std::string>& names);
};
