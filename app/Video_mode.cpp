#include "app/Video_mode.h"

namespace {

const Video_mode table[Video_mode::desktop_index + 1] = {
    {640, 480, 16},   {640, 480, 32},   {800, 600, 16},   {800, 600, 32},   {1024, 768, 16},
    {1024, 768, 32},  {1152, 864, 16},  {1152, 864, 32},  {1280, 800, 16},  {1280, 800, 32},
    {1280, 960, 16},  {1280, 960, 32},  {1280, 1024, 16}, {1280, 1024, 32}, {1400, 1050, 16},
    {1400, 1050, 32}, {1600, 1200, 16}, {1600, 1200, 32},
    {0, 0, 32},  // the desktop
};

}  // namespace

const Video_mode& Video_mode::row(int32_t index)
{
    return table[valid(index) ? index : default_index];
}
