#include "texgen/Plasma.h"

Plasma::Plasma(int width, int height, const char* parameters) : image(width, height, parameters)
{
    create_texture(image.width, image.height, image.pixels);
}

void Plasma::generate(int32_t t)
{
    image.compute(t);
    upload();
}
