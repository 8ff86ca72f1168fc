// JPEG files made by libjpeg for the tests that hold the decoders to each
// other (link JPEG::JPEG).
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

// A JPEG of these RGB pixels, rows top first, at this quality; colours
// subsampled as cameras do them, or not at all.
inline std::vector<uint8_t> test_jpeg(unsigned width, unsigned height, std::vector<uint8_t> rgb, int quality,
                                      bool subsampled)
{
    jpeg_compress_struct c;
    jpeg_error_mgr errors;
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = width, c.image_height = height, c.input_components = 3, c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    for (int i = 0; i < c.num_components && !subsampled; ++i) c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    jpeg_start_compress(&c, TRUE);
    for (JSAMPROW row = rgb.data(); c.next_scanline < height; row += width * 3) jpeg_write_scanlines(&c, &row, 1);
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<uint8_t> jpeg(out, out + size);
    std::free(out);
    return jpeg;
}
