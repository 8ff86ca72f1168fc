// A view of one pack entry's bytes: pointer and size, owned by the Pak.
// The empty view (null, 0) stands for "no such entry"; a found entry of
// size 0 has a non-null pointer.
#pragma once
#include <cstdint>

struct Pak_entry {
    const uint8_t* data = nullptr;
    int32_t size = 0;

    bool empty() const { return data == nullptr; }
};
