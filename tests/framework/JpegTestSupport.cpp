// MakeJpeg: test JPEGs made at run time with libjpeg's compressor into memory.
#include "tests/framework/GraphicsTestSupport.h"

#include <csetjmp>
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

namespace {

struct TLibjpegError {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
    char Text[JMSG_LENGTH_MAX];
    char Warning[JMSG_LENGTH_MAX];
};

// Keeps the first warning's text instead of printing it.
extern "C" void LibjpegEmitMessage(j_common_ptr cinfo, int level)
{
    auto* error = reinterpret_cast<TLibjpegError*>(cinfo->err);
    if (level < 0 && error->Warning[0] == 0)
        cinfo->err->format_message(cinfo, error->Warning);
}

extern "C" void LibjpegErrorExit(j_common_ptr cinfo)
{
    auto* error = reinterpret_cast<TLibjpegError*>(cinfo->err);
    cinfo->err->format_message(cinfo, error->Text);
    std::longjmp(error->Jump, 1);
}

// Runs libjpeg's own decoder over the bytes with its memory source; no C++ objects live in this frame, so the
// error jump skips nothing.
bool RunLibjpeg(const std::vector<uint8_t>& bytes, J_COLOR_SPACE space, TLibjpegError& error,
    jpeg_decompress_struct& cinfo, std::vector<uint8_t>& samples, int& width, int& height, bool& adobe)
{
    if (setjmp(error.Jump))
        return false;
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (space != JCS_UNKNOWN)
        cinfo.out_color_space = space;
    jpeg_start_decompress(&cinfo);
    width = static_cast<int>(cinfo.output_width);
    height = static_cast<int>(cinfo.output_height);
    adobe = cinfo.saw_Adobe_marker;
    samples.resize(size_t(width) * size_t(height) * size_t(cinfo.output_components));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = samples.data() + size_t(cinfo.output_scanline) * size_t(width) * cinfo.output_components;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

} // namespace

std::string LibjpegDecode(const std::vector<uint8_t>& bytes, int colorSpace, std::vector<uint8_t>& samples,
    int& width, int& height, bool& adobe, std::string* warning)
{
    jpeg_decompress_struct cinfo {};
    TLibjpegError error {};
    cinfo.err = jpeg_std_error(&error.Base);
    error.Base.error_exit = LibjpegErrorExit;
    error.Base.emit_message = LibjpegEmitMessage;
    jpeg_create_decompress(&cinfo);
    bool ok = RunLibjpeg(bytes, static_cast<J_COLOR_SPACE>(colorSpace), error, cinfo, samples, width, height, adobe);
    jpeg_destroy_decompress(&cinfo);
    if (warning)
        *warning = error.Warning;
    return ok ? std::string() : std::string(error.Text);
}
