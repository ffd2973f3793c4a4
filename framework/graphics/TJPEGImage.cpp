#include "framework/graphics/TJPEGImage.h"

#include "framework/core/Streams.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TBitmapImage.h"
#include "framework/graphics/TCanvas.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

// NOTE: libjpeg reports errors by calling error_exit, which must not return. Ours longjmps back into the
// function that armed the jump buffer. The functions that arm it (ReadHeaderInto, StartDecode, ReadRows) hold
// no C++ objects with destructors, so the jump skips nothing that needed to run; the exception is raised only
// after they have returned.

namespace {

// No picture this library decodes may expand past this many pixels or make libjpeg use more memory than
// kMaxDecoderMemory, whatever its header claims; hostile headers are cheap to write.
constexpr int64_t kMaxJpegPixels = int64_t(1) << 26;
constexpr long kMaxDecoderMemory = 512L << 20;
// Progressive files need a dozen scans; thousands of them are an attack on the decoder's time.
constexpr int kMaxScans = 1000;
// The most bytes a JPEG file may have.
constexpr int64_t kMaxJpegFileBytes = int64_t(1) << 30;

struct TJpegError {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
    // What went wrong, in libjpeg's own words (or ours, for the limits this library sets).
    char Text[JMSG_LENGTH_MAX];
};

extern "C" void JpegErrorExit(j_common_ptr cinfo)
{
    auto* error = reinterpret_cast<TJpegError*>(cinfo->err);
    cinfo->err->format_message(cinfo, error->Text);
    std::longjmp(error->Jump, 1);
}

// Leaves the decoder with a message of our own; like error_exit, it does not return.
[[noreturn]] void JpegFail(j_common_ptr cinfo, const char* text)
{
    auto* error = reinterpret_cast<TJpegError*>(cinfo->err);
    std::snprintf(error->Text, sizeof error->Text, "%s", text);
    std::longjmp(error->Jump, 1);
}

constexpr const char* kTooBig = "JPEG image is too big";

// Warnings are corrupt-data notes libjpeg recovers from; the library never prints. Scan data that stops at a
// marker is no such note: libjpeg would fill the rest of the picture with grey and call it decoded, so it fails
// in libjpeg's own words, as a file that simply ends does.
extern "C" void JpegEmitMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    ++cinfo->err->num_warnings;
    if (cinfo->err->msg_code == JWRN_HIT_MARKER)
        JpegErrorExit(cinfo);
}

extern "C" void JpegOutputMessage(j_common_ptr)
{
}

// The source: the whole file is in memory, so running out of it means the file ended early. libjpeg's own
// memory source would invent an end-of-image marker and report a truncated file as a grey-bottomed success.
extern "C" void JpegInitSource(j_decompress_ptr)
{
}

extern "C" boolean JpegFillInputBuffer(j_decompress_ptr cinfo)
{
    ERREXIT(cinfo, JERR_INPUT_EOF);
    return FALSE;
}

extern "C" void JpegSkipInputData(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr* src = cinfo->src;
    if (static_cast<size_t>(count) > src->bytes_in_buffer)
        ERREXIT(cinfo, JERR_INPUT_EOF);
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<size_t>(count);
}

extern "C" void JpegTermSource(j_decompress_ptr)
{
}

extern "C" void JpegProgress(j_common_ptr cinfo)
{
    auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->input_scan_number > kMaxScans)
        JpegFail(cinfo, "JPEG file has too many scans");
}

// One libjpeg decompressor over bytes in memory, destroyed with the object.
struct TJpegDecoder {
    jpeg_decompress_struct Info;
    TJpegError Error;
    jpeg_source_mgr Source;
    jpeg_progress_mgr Progress;
    bool Created = false;

    TJpegDecoder() = default;
    TJpegDecoder(const TJpegDecoder&) = delete;
    TJpegDecoder& operator=(const TJpegDecoder&) = delete;
    ~TJpegDecoder()
    {
        if (Created)
            jpeg_destroy_decompress(&Info);
    }
};

// The settings a decode runs with.
struct TDecodeSettings {
    unsigned ScaleDenom;
    bool Grayscale;
    bool Fast;
    bool Quantize;
};

// Creates the decompressor and reads the header. Must be called inside a frame that armed Error.Jump.
void OpenDecoder(TJpegDecoder& d, const uint8_t* data, size_t size)
{
    std::memset(&d.Info, 0, sizeof(d.Info));
    d.Info.err = jpeg_std_error(&d.Error.Base);
    d.Error.Base.error_exit = JpegErrorExit;
    d.Error.Base.emit_message = JpegEmitMessage;
    d.Error.Base.output_message = JpegOutputMessage;
    jpeg_create_decompress(&d.Info);
    d.Created = true;
    d.Info.mem->max_memory_to_use = kMaxDecoderMemory;
    d.Source.next_input_byte = data;
    d.Source.bytes_in_buffer = size;
    d.Source.init_source = JpegInitSource;
    d.Source.fill_input_buffer = JpegFillInputBuffer;
    d.Source.skip_input_data = JpegSkipInputData;
    d.Source.resync_to_restart = jpeg_resync_to_restart;
    d.Source.term_source = JpegTermSource;
    d.Info.src = &d.Source;
    d.Progress.progress_monitor = JpegProgress;
    d.Info.progress = &d.Progress;
    if (jpeg_read_header(&d.Info, TRUE) != JPEG_HEADER_OK)
        ERREXIT(&d.Info, JERR_NO_IMAGE);
    if (int64_t(d.Info.image_width) * int64_t(d.Info.image_height) > kMaxJpegPixels)
        JpegFail(reinterpret_cast<j_common_ptr>(&d.Info), kTooBig);
}

struct THeader {
    int Width;
    int Height;
    bool Grayscale;
    bool Progressive;
};

bool ReadHeaderInto(TJpegDecoder& d, const uint8_t* data, size_t size, THeader& header)
{
    if (setjmp(d.Error.Jump))
        return false;
    OpenDecoder(d, data, size);
    header.Width = static_cast<int>(d.Info.image_width);
    header.Height = static_cast<int>(d.Info.image_height);
    header.Grayscale = d.Info.jpeg_color_space == JCS_GRAYSCALE;
    header.Progressive = d.Info.progressive_mode;
    return true;
}

// Reads the header again and starts decompression with `settings`; the output size and colours are then in
// d.Info.
bool StartDecode(TJpegDecoder& d, const uint8_t* data, size_t size, const TDecodeSettings& settings)
{
    if (setjmp(d.Error.Jump))
        return false;
    OpenDecoder(d, data, size);
    d.Info.scale_num = 1;
    d.Info.scale_denom = settings.ScaleDenom;
    d.Info.dct_method = settings.Fast ? JDCT_IFAST : JDCT_ISLOW;
    d.Info.do_fancy_upsampling = settings.Fast ? FALSE : TRUE;
    J_COLOR_SPACE source = d.Info.jpeg_color_space;
    if (source == JCS_CMYK || source == JCS_YCCK) {
        d.Info.out_color_space = JCS_CMYK;
    } else if (settings.Grayscale || source == JCS_GRAYSCALE) {
        d.Info.out_color_space = JCS_GRAYSCALE;
    } else if (settings.Quantize) {
        d.Info.out_color_space = JCS_RGB;
        d.Info.quantize_colors = TRUE;
        d.Info.desired_number_of_colors = 256;
        d.Info.two_pass_quantize = settings.Fast ? FALSE : TRUE;
        d.Info.dither_mode = settings.Fast ? JDITHER_ORDERED : JDITHER_FS;
    } else {
        d.Info.out_color_space = JCS_EXT_BGR;
    }
    jpeg_calc_output_dimensions(&d.Info);
    if (int64_t(d.Info.output_width) * int64_t(d.Info.output_height) > kMaxJpegPixels)
        JpegFail(reinterpret_cast<j_common_ptr>(&d.Info), kTooBig);
    jpeg_start_decompress(&d.Info);
    return true;
}

// The grey libjpeg makes of red, green and blue: its own weights in 16-bit fixed point, rounded.
inline uint8_t GreyOf(unsigned r, unsigned g, unsigned b)
{
    return static_cast<uint8_t>((19595 * r + 38470 * g + 7471 * b + 32768) >> 16);
}

// Reads every row into `image` (top row first). CMYK rows go through `scratch` (4 bytes a pixel) and are
// turned into B,G,R, or into one grey byte a pixel when `image` has 8 bits, as libjpeg cannot make grey of
// them itself.
bool ReadRows(TJpegDecoder& d, TBitmapImage& image, uint8_t* scratch)
{
    if (setjmp(d.Error.Jump))
        return false;
    const bool cmyk = d.Info.out_color_space == JCS_CMYK;
    const bool grey = image.BitCount == 8;
    // Adobe writes CMYK inverted; other writers do not.
    const bool inverted = d.Info.saw_Adobe_marker;
    while (d.Info.output_scanline < d.Info.output_height) {
        uint8_t* row = image.Row(static_cast<int>(d.Info.output_scanline));
        JSAMPROW target = cmyk ? scratch : row;
        if (jpeg_read_scanlines(&d.Info, &target, 1) != 1)
            ERREXIT(&d.Info, JERR_INPUT_EOF);
        if (cmyk) {
            for (JDIMENSION x = 0; x < d.Info.output_width; ++x) {
                const uint8_t* p = scratch + x * 4;
                unsigned c = inverted ? p[0] : 255 - p[0];
                unsigned m = inverted ? p[1] : 255 - p[1];
                unsigned y = inverted ? p[2] : 255 - p[2];
                unsigned k = inverted ? p[3] : 255 - p[3];
                unsigned blue = (y * k + 127) / 255, green = (m * k + 127) / 255, red = (c * k + 127) / 255;
                if (grey) {
                    row[x] = GreyOf(red, green, blue);
                    continue;
                }
                row[x * 3 + 0] = static_cast<uint8_t>(blue);
                row[x * 3 + 1] = static_cast<uint8_t>(green);
                row[x * 3 + 2] = static_cast<uint8_t>(red);
            }
        }
    }
    jpeg_finish_decompress(&d.Info);
    return true;
}

[[noreturn]] void RaiseJpegError(const TJpegDecoder& d)
{
    throw EJPEG(d.Error.Text);
}

} // namespace

TJPEGImage::TJPEGImage() = default;

TJPEGImage::~TJPEGImage() = default;

std::unique_ptr<TGraphic> TJPEGImage::CreateNew() const
{
    return std::make_unique<TJPEGImage>();
}

void TJPEGImage::Assign(TPersistent* source)
{
    auto* jpeg = dynamic_cast<TJPEGImage*>(source);
    if (!jpeg) {
        inherited::Assign(source);
        return;
    }
    if (jpeg == this)
        return;
    FData = jpeg->FData;
    FImageWidth = jpeg->FImageWidth;
    FImageHeight = jpeg->FImageHeight;
    FImageGrayscale = jpeg->FImageGrayscale;
    FProgressive = jpeg->FProgressive;
    FGrayscale = jpeg->FGrayscale;
    FScale = jpeg->FScale;
    FPerformance = jpeg->FPerformance;
    FPixelFormat = jpeg->FPixelFormat;
    FBitmap.reset();
    if (jpeg->FBitmap) {
        FBitmap = std::make_unique<TBitmap>();
        FBitmap->Assign(jpeg->FBitmap.get());
    }
    Changed(this);
}

void TJPEGImage::AssignTo(TPersistent* dest)
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
        bitmap->Assign(Bitmap());
        return;
    }
    inherited::AssignTo(dest);
}

void TJPEGImage::FreeBitmap()
{
    FBitmap.reset();
}

void TJPEGImage::ReadHeader(const std::vector<uint8_t>& data)
{
    TJpegDecoder d;
    THeader header {};
    if (!ReadHeaderInto(d, data.data(), data.size(), header))
        RaiseJpegError(d);
    FImageWidth = header.Width;
    FImageHeight = header.Height;
    FImageGrayscale = header.Grayscale;
    FProgressive = header.Progressive;
}

void TJPEGImage::Decode()
{
    static constexpr unsigned kDenoms[] = { 1, 2, 4, 8 };
    TDecodeSettings settings { kDenoms[FScale], FGrayscale, FPerformance == jpBestSpeed, FPixelFormat == jf8Bit };
    TJpegDecoder d;
    if (!StartDecode(d, FData.data(), FData.size(), settings))
        RaiseJpegError(d);
    const int width = static_cast<int>(d.Info.output_width);
    const int height = static_cast<int>(d.Info.output_height);
    std::unique_ptr<TBitmapImage> image;
    std::vector<uint8_t> scratch;
    const bool cmyk = d.Info.out_color_space == JCS_CMYK;
    if (cmyk)
        scratch.resize(static_cast<size_t>(width) * 4);
    if (d.Info.out_color_space == JCS_GRAYSCALE || (cmyk && FGrayscale)) {
        std::vector<uint32_t> greys(256);
        for (uint32_t i = 0; i < 256; ++i)
            greys[i] = (i << 16) | (i << 8) | i;
        image = TBitmapImage::Create(width, height, 8, std::move(greys));
    } else if (d.Info.quantize_colors) {
        std::vector<uint32_t> colors(256, 0);
        for (int i = 0; i < d.Info.actual_number_of_colors && i < 256; ++i)
            colors[i] = (uint32_t(d.Info.colormap[0][i]) << 16) | (uint32_t(d.Info.colormap[1][i]) << 8)
                | d.Info.colormap[2][i];
        image = TBitmapImage::Create(width, height, 8, std::move(colors));
    } else {
        image = TBitmapImage::Create(width, height, 24);
    }
    Progress(this, psStarting, 0, false, TRect {}, "");
    if (!ReadRows(d, *image, scratch.data()))
        RaiseJpegError(d);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->FPixelFormat = image->BitCount == 8 ? pf8bit : pf24bit;
    bitmap->SetImage(std::move(image));
    FBitmap = std::move(bitmap);
    Progress(this, psEnding, 100, true, Rect(0, 0, width, height), "");
}

void TJPEGImage::DIBNeeded()
{
    if (FBitmap || FData.empty())
        return;
    Decode();
}

TBitmap* TJPEGImage::Bitmap()
{
    DIBNeeded();
    if (!FBitmap)
        FBitmap = std::make_unique<TBitmap>();
    return FBitmap.get();
}

void TJPEGImage::SetGrayscale(bool value)
{
    if (value == FGrayscale)
        return;
    FGrayscale = value;
    FreeBitmap();
    Changed(this);
}

void TJPEGImage::SetScale(TJPEGScale value)
{
    if (value == FScale)
        return;
    FScale = value;
    FreeBitmap();
    Changed(this);
}

void TJPEGImage::SetPerformance(TJPEGPerformance value)
{
    if (value == FPerformance)
        return;
    FPerformance = value;
    FreeBitmap();
    Changed(this);
}

void TJPEGImage::SetPixelFormat(TJPEGPixelFormat value)
{
    if (value == FPixelFormat)
        return;
    FPixelFormat = value;
    FreeBitmap();
    Changed(this);
}

void TJPEGImage::SetWidth(int)
{
    throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

void TJPEGImage::SetHeight(int)
{
    throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

bool TJPEGImage::GetEmpty() const
{
    return FData.empty() && !FBitmap;
}

int TJPEGImage::GetWidth() const
{
    if (FBitmap)
        return FBitmap->Width();
    int denom = 1 << FScale;
    return (FImageWidth + denom - 1) / denom;
}

int TJPEGImage::GetHeight() const
{
    if (FBitmap)
        return FBitmap->Height();
    int denom = 1 << FScale;
    return (FImageHeight + denom - 1) / denom;
}

void TJPEGImage::Draw(TCanvas* canvas, const TRect& rect)
{
    if (!canvas || Empty())
        return;
    canvas->StretchDraw(rect, Bitmap());
}

void TJPEGImage::LoadFromStream(TStream& stream)
{
    int64_t remaining = stream.Size() - stream.Position();
    if (remaining > kMaxJpegFileBytes)
        throw EJPEG(kTooBig);
    std::vector<uint8_t> data(static_cast<size_t>(remaining > 0 ? remaining : 0));
    if (!data.empty())
        stream.ReadBuffer(data.data(), static_cast<int32_t>(data.size()));
    if (data.empty()) {
        FData.clear();
        FImageWidth = FImageHeight = 0;
        FBitmap.reset();
        Changed(this);
        return;
    }
    // The header is read before anything changes, so bytes that are no JPEG leave the image as it was.
    TJPEGImage probe;
    probe.ReadHeader(data);
    FData = std::move(data);
    FImageWidth = probe.FImageWidth;
    FImageHeight = probe.FImageHeight;
    FImageGrayscale = probe.FImageGrayscale;
    FProgressive = probe.FProgressive;
    FBitmap.reset();
    Changed(this);
}

void TJPEGImage::SaveToStream(TStream& stream)
{
    if (!FData.empty())
        stream.WriteBuffer(FData.data(), static_cast<int32_t>(FData.size()));
}

void TJPEGImage::ReadData(TStream& stream)
{
    int32_t size = 0;
    stream.ReadBuffer(&size, sizeof(size));
    if (size < 0 || size > stream.Size() - stream.Position())
        throw EJPEG("Premature end of input file");
    TMemoryStream data;
    if (size > 0)
        data.CopyFrom(stream, size);
    data.SetPosition(0);
    LoadFromStream(data);
}

void TJPEGImage::WriteData(TStream& stream)
{
    int32_t size = static_cast<int32_t>(FData.size());
    stream.WriteBuffer(&size, sizeof(size));
    SaveToStream(stream);
}
