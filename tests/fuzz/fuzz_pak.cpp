// Feeds raw bytes to the pack reader as if they were a pack file, then
// looks every entry up again: nothing may read past the bytes or allocate
// more than they could hold.
#include <cstddef>
#include <cstdint>

#include "resources/Pak.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Pak pak;
    pak.read_bytes(data, size);
    for (int32_t i = 0; i < pak.entry_count(); ++i) {
        Pak_entry e = pak.find(pak.name(i));
        if (e.empty() || e.size < 0) __builtin_trap();
        volatile uint8_t sum = 0;
        for (int32_t k = 0; k < e.size; ++k) sum = uint8_t(sum + e.data[k]);
        Pak::safe_entry_path(pak.name(i));
    }
    return 0;
}
