// Which background the garden draws. The shipped background leaves out the
// sky that the shipped lawn always covers (shading it would only be painted
// over). That cut background is stored beside the whole one, under a name
// made from the bytes of the tree and of the whole background it was cut
// for, so it is found only while both are still those: a pack whose tree or
// background someone replaced, with any tool, draws the whole background
// and shows no hole where the lawn used to be.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "resources/Pack_names.h"
#include "resources/Pak_entry.h"

class Background_fit {
public:
    // "fon@" and 16 hex digits of a 64-bit FNV-1a hash over both entries'
    // sizes and bytes. Not a guard against anyone: only a change of either
    // entry must change the name.
    static std::string cut_name(Pak_entry tree, Pak_entry background)
    {
        uint64_t h = 14695981039346656037ull;
        auto take = [&h](const uint8_t* data, size_t size) {
            for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 1099511628211ull;
        };
        for (Pak_entry e : {tree, background}) {
            const size_t size = e.size > 0 ? size_t(e.size) : 0;
            const uint8_t length[4] = {uint8_t(size), uint8_t(size >> 8), uint8_t(size >> 16), uint8_t(size >> 24)};
            take(length, 4);
            if (e.data) take(e.data, size);
        }
        std::string name = std::string(Pack_names::background) + "@";
        const char* digits = "0123456789abcdef";
        for (int shift = 60; shift >= 0; shift -= 4) name += digits[(h >> shift) & 15];
        return name;
    }
};
