// The value types the imaging code passes around: colours, 16.16 numbers, points, rectangles and draw settings.
#pragma once
#include "framework/core/Exception.h"
#include "framework/graphics/Types.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// 0xAARRGGBB, not premultiplied; in memory a pixel's bytes are blue, green, red, alpha.
using TColor32 = uint32_t;
using PColor32 = TColor32*;
using TArrayOfColor32 = std::vector<TColor32>;
using TPalette32 = std::array<TColor32, 256>;

// The framework's colour: 0x00BBGGRR, or a system colour index (0x80000000 | index) when negative.
using TColor = int32_t;

// A 16.16 fixed-point number (value x 65536).
using TFixed = int32_t;

struct TFixedPoint {
    TFixed X = 0;
    TFixed Y = 0;
};

struct TFloatPoint {
    float X = 0;
    float Y = 0;
};

struct TFixedRect {
    TFixed Left = 0;
    TFixed Top = 0;
    TFixed Right = 0;
    TFixed Bottom = 0;
};

struct TFloatRect {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
};

enum TRectRounding : uint8_t { rrClosest, rrOutside, rrInside };

using TArrayOfByte = std::vector<uint8_t>;
using TArrayOfInteger = std::vector<int32_t>;
using TArrayOfArrayOfInteger = std::vector<TArrayOfInteger>;
using TArrayOfSingle = std::vector<float>;
using TArrayOfPoint = std::vector<TPoint>;
using TArrayOfArrayOfPoint = std::vector<TArrayOfPoint>;
using TArrayOfFloatPoint = std::vector<TFloatPoint>;
using TArrayOfArrayOfFloatPoint = std::vector<TArrayOfFloatPoint>;
using TArrayOfFixedPoint = std::vector<TFixedPoint>;
using TArrayOfArrayOfFixedPoint = std::vector<TArrayOfFixedPoint>;

// How a bitmap is combined with the one it is drawn onto.
enum TDrawMode : uint8_t { dmOpaque, dmBlend, dmCustom };

// How a bitmap is resampled when it is drawn scaled.
enum TStretchFilter : uint8_t { sfNearest, sfLinear, sfSpline, sfLanczos, sfMitchell };

// The caller's own combination for dmCustom: F the source colour, B the destination pixel to update, M the
// source bitmap's master alpha.
using TPixelCombineEvent = std::function<void(TColor32 F, TColor32& B, TColor32 M)>;

// NOTE: stands in for the framework's assertion failure until the framework has one; the imaging code raises
// it for an unpaired EndUpdate and for broken internal invariants ("Assertion failure").
class EAssertionFailed : public Exception {
public:
    using Exception::Exception;
};
