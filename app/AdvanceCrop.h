// The advanced settings window's crop geometry: border detection on a frame, the crop a mouse press or drag
// gives over the centred source picture, and the letterbox of the output preview.
#pragma once
#include <cstdint>

class TBitmap32;

// Pixels taken off each edge of the source frame, each measured inward from its own edge.
struct TCropEdges {
    int32_t Left = 0;
    int32_t Right = 0;
    int32_t Top = 0;
    int32_t Bottom = 0;

    bool operator==(const TCropEdges&) const = default;
};

// The crop that removes the frame's uniform border: pixels whose red, green and blue each lie within 20 of the
// top-left pixel's are border. The last content row and column go with the border. A frame without any content
// (one flat colour) gives no crop at all rather than one that leaves nothing. Values are within 0 to 10000, the
// crop edits' range.
TCropEdges AutoCropEdges(const TBitmap32& frame);

// A picture of w x h drawn centred into an image: its offset, divisions toward zero, so a larger picture is cut
// evenly on both sides.
struct TCentredPicture {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Width = 0;
    int32_t Height = 0;

    static TCentredPicture In(int32_t imageWidth, int32_t imageHeight, int32_t width, int32_t height);
    bool Contains(int32_t x, int32_t y) const { return x >= X && x < X + Width && y >= Y && y < Y + Height; }

    // The crop after a press at (x, y) inside the picture: a press left of the crop's right edge moves the left
    // edge there, else the right edge; a press above the crop's bottom edge moves the top edge, else the bottom.
    TCropEdges CropAtPress(int32_t x, int32_t y, const TCropEdges& crop) const;
    // The crop of the rectangle dragged from (startX, startY) to (x, y).
    TCropEdges CropOfDrag(int32_t startX, int32_t startY, int32_t x, int32_t y) const;
    // The crop kept when the drag ends: a rectangle one pixel or less across or high (a click) clears it.
    TCropEdges CropAtRelease(const TCropEdges& crop) const;
};

// Where the cropped picture (cropWidth x cropHeight) goes in an output frame of outWidth x outHeight: the whole
// frame, or with Fix Aspect Ratio the largest part of the picture's shape, centred, with even left or top bars.
// Empty sizes give the whole frame, so nothing divides by zero.
struct TLetterbox {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0; // Exclusive edges.
    int32_t Bottom = 0;

    bool operator==(const TLetterbox&) const = default;
};
TLetterbox LetterboxOf(int32_t outWidth, int32_t outHeight, int32_t cropWidth, int32_t cropHeight, bool fixAspect);
