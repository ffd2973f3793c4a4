// MakeJpeg: test JPEGs made at run time with libjpeg's compressor into memory.
#include "tests/framework/GraphicsTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

std::vector<uint8_t> MakeJpeg(
    int width, int height, int components, bool progressive, int quality, uint32_t (*pixel)(int x, int y))
{
    jpeg_compress_struct cinfo {};
    jpeg_error_mgr error {};
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    // Adobe's inverted CMYK, the kind photo tools write.
    if (components == 4)
        cinfo.write_Adobe_marker = TRUE;
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(width) * components);
    while (cinfo.next_scanline < cinfo.image_height) {
        int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < width; ++x) {
            uint32_t v = pixel(x, y);
            uint8_t* p = row.data() + x * components;
            if (components == 1) {
                p[0] = static_cast<uint8_t>(v);
            } else if (components == 3) {
                p[0] = static_cast<uint8_t>(v >> 16);
                p[1] = static_cast<uint8_t>(v >> 8);
                p[2] = static_cast<uint8_t>(v);
            } else {
                // Inverted, as Adobe stores it: 255 means no ink.
                p[0] = static_cast<uint8_t>(255 - (v >> 24));
                p[1] = static_cast<uint8_t>(255 - (v >> 16));
                p[2] = static_cast<uint8_t>(255 - (v >> 8));
                p[3] = static_cast<uint8_t>(255 - v);
            }
        }
        JSAMPROW rows[1] = { row.data() };
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> result(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return result;
}
