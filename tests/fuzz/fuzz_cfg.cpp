// Feeds raw bytes to the settings file reader ("cfg").
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "resources/Cfg_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    Cfg_record record(in, 1);
    if (!record.read_from_stream() && (record.video_mode != 5 || record.mouse_exit != 0)) __builtin_trap();
    return 0;
}
