// The pack files and entries the saver opens: written here once for the
// scene, the butterfly, `pak verify`, the asset builder and the tests.
#pragma once
#include <cstddef>

class Pack_names {
public:
    static constexpr const char* main_pack = "main.pak";
    static constexpr const char* tree = "tree";           // the garden, in main_pack
    static constexpr const char* background = "fon";      // the picture far behind, in main_pack
    static constexpr const char* overlay = "nn";          // the last third of the minute, in main_pack
    static constexpr const char* wing = "krilo";          // in each butterfly pack
    static constexpr const char* body = "brushko";        // in each butterfly pack

    static constexpr size_t butterfly_pack_count = 5;
    // "butterfly1.pak" for index 0 ... "butterfly5.pak" for index 4.
    static constexpr const char* butterfly_packs[butterfly_pack_count] = {
        "butterfly1.pak", "butterfly2.pak", "butterfly3.pak", "butterfly4.pak", "butterfly5.pak"};

    static constexpr const char* main_entries[3] = {tree, background, overlay};
    static constexpr const char* butterfly_entries[2] = {wing, body};
};
