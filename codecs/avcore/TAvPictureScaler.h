// TAvPictureScaler: crops a frame buffer of one colour code and scales it into planes of any pixel format.
#pragma once
#include "codecs/avcore/AvHandles.h"
#include "codecs/avcore/TAvColorCode.h"
#include "codecs/avcore/TAvStatus.h"

#include <cstdint>
#include <string>

// Pixels cut from each edge of a source frame.
struct TAvCrop {
    int Left = 0;
    int Right = 0;
    int Top = 0;
    int Bottom = 0;
};

// What a TAvPictureScaler makes of its source.
struct TAvPictureLayout {
    int SourceWidth = 0;
    int SourceHeight = 0;
    TAvColorCode SourceCode = TAvColorCode::Yuv420;
    TAvCrop Crop;
    int OutputWidth = 0;
    int OutputHeight = 0;
    int OutputPixelFormat = -1; // FFmpeg's AVPixelFormat value.
    // Keep the picture's shape: fit it inside the output, centred, with black bars around it. Otherwise the
    // picture is stretched over the whole output.
    bool Fit = false;
    // The display aspect (width / height) of the whole source frame; 0 means square pixels. Only Fit uses it.
    double SourceAspect = 0.0;
};

class TAvPictureScaler final {
public:
    TAvPictureScaler();
    ~TAvPictureScaler();

    // Checks the layout (sizes in 1..kAvMaxFrameSide, a crop that leaves at least one pixel, a known pixel
    // format) and prepares the conversion; the text of ErrorText says what was wrong.
    TAvStatus Init(const TAvPictureLayout& layout);
    bool IsReady() const { return FInputSize > 0; }
    const TAvPictureLayout& Layout() const { return FLayout; }
    // Bytes of one source frame.
    int64_t InputSize() const { return FInputSize; }
    // Where the picture lands inside the output (the whole output unless Fit made bars).
    int PictureX() const { return FPictureX; }
    int PictureY() const { return FPictureY; }
    int PictureWidth() const { return FPictureWidth; }
    int PictureHeight() const { return FPictureHeight; }
    const std::string& ErrorText() const { return FError; }

    // Reads InputSize() bytes at `source` and fills the output planes, bars included.
    TAvStatus Scale(const void* source, uint8_t* const target[4], const int targetStride[4]);

private:
    TAvStatus Fail(TAvStatus status, std::string text);
    void PlacePicture();

    TAvPictureLayout FLayout;
    int64_t FInputSize = 0;
    int FCropWidth = 0;
    int FCropHeight = 0;
    int FPictureX = 0;
    int FPictureY = 0;
    int FPictureWidth = 0;
    int FPictureHeight = 0;
    bool FFullRange = false;
    // Same size and format as the output: the planes are copied without swscale.
    bool FCopyOnly = false;
    std::string FError;
    TAvSwsContextPtr FScaler;
};
