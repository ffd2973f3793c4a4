// The frame lock's guarded frames and the upright copy of bottom-up frames.
#include "app/PreviewFrames.h"

#include "codecs/braskel/Braskel.h"
#include "imaging/TBitmap32.h"

#include <cstring>

void TColorConverterDeleter::operator()(ColorConverter* converter) const
{
    Braskel_ReleaseColorConverter(converter);
}

TPreviewFrames::TPreviewFrames() = default;

TPreviewFrames::~TPreviewFrames()
{
    Pelliqua_Free(PreviewConverter);
}

void TPreviewFrames::FreePreviewConverter()
{
    Pelliqua_Free(PreviewConverter);
    PreviewConverter = 0;
    PreviewWorkBuffer = {};
}

void TPreviewFrames::ReleaseConversionConverter()
{
    ConversionConverter.reset();
    ConversionBuffer = {};
}

void CopyUpright(TBitmap32& target, const void* source)
{
    const int32_t width = target.Width();
    const int32_t height = target.Height();
    const auto* rows = static_cast<const uint8_t*>(source);
    const size_t rowBytes = size_t(width) * 4;
    for (int32_t n = height - 1; n >= 0; --n)
        std::memcpy(target.ScanLine(n), rows + size_t(height - 1 - n) * rowBytes, rowBytes);
}
