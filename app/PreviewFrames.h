// The frame lock of the main window and what it guards: the last decoded frame and the converters and buffers
// that the preview player and the conversion preview turn frames into 32-bit pictures with.
#pragma once
#include "codecs/pelliqua/Pelliqua.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class ColorConverter;
class TBitmap32;

// Releases a colour converter of the codec library.
struct TColorConverterDeleter {
    void operator()(ColorConverter* converter) const;
};

// Shared by the decoder's thread (frames arrive there) and the user-interface thread (frames are drawn there).
// Every field is read, written, created and deleted only while Lock is held. The lock is never held while a
// decoder is stopped or deleted: the decoder's thread may be waiting for it inside a callback.
struct TPreviewFrames {
    TPreviewFrames();
    ~TPreviewFrames();
    TPreviewFrames(const TPreviewFrames&) = delete;
    TPreviewFrames& operator=(const TPreviewFrames&) = delete;

    std::mutex Lock;
    // The last frame, upright; outlives a preview, replaced by the next preview or conversion.
    std::unique_ptr<TBitmap32> FrameBitmap;

    // The preview's 16-bit converter (0 when none), its work buffer, and the colour code of the preview's frames.
    PelliquaHandle PreviewConverter = 0;
    std::vector<uint8_t> PreviewWorkBuffer;
    int32_t PreviewColorFormat = 0;

    // The conversion preview's converter to 32-bit, made by a job's first shown frame, and its output buffer.
    std::unique_ptr<ColorConverter, TColorConverterDeleter> ConversionConverter;
    std::vector<uint8_t> ConversionBuffer;
    // The frame size and colour code the converter was made for.
    int32_t ConversionWidth = 0;
    int32_t ConversionHeight = 0;
    int32_t ConversionColorFormat = 0;

    // Frees the preview's converter and work buffer; the caller holds Lock.
    void FreePreviewConverter();
    // Releases the conversion's converter and frees its buffer; the caller holds Lock.
    void ReleaseConversionConverter();
};

// The colour code of 32-bit B,G,R,A frames, which are copied without conversion.
constexpr int32_t kColorFormat32 = 3;
// The colour code of 16-bit RGB565 frames, which the preview converts.
constexpr int32_t kColorFormat16 = 1;

// Copies a bottom-up 32-bit frame of the bitmap's size into the bitmap, upright: the bitmap's row n receives
// the source's row (height - 1 - n).
void CopyUpright(TBitmap32& target, const void* source);
