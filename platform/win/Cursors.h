// Cursor and icon objects (HCURSOR, HICON): their pixels, masks and hot spots, made from bit planes, pixels or
// cursor files, copied and destroyed, and the pixel query through which a display shows them.
#pragma once
#include "platform/win/WinSystem.h"
#include "platform/win/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What GetIconInfo reports and CreateIconIndirect takes. Without hbmColor, hbmMask is twice the height: the
// AND mask above the XOR mask.
struct ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
};

// DrawIconEx flags.
constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;
constexpr UINT DI_COMPAT = 0x0004;
constexpr UINT DI_DEFAULTSIZE = 0x0008;
constexpr UINT DI_NOMIRROR = 0x0010;


// The image of a cursor or icon as the drawing code and the displays use it. Pixels are 0xAARRGGBB, rows top-down.
//  - With alpha (HasAlpha), a pixel is drawn over the destination by its alpha; the mask is not used.
//  - Without it, the destination is ANDed with the mask (all ones where Mask is 1, zero where it is 0) and then
//    XORed with the colour: mask 0 paints the colour, mask 1 with colour 0 leaves the destination, mask 1 with a
//    colour inverts the destination under it (the inverting parts of monochrome cursors).
struct TCursorImage {
    int Width = 0;
    int Height = 0;
    POINT HotSpot {};
    bool Icon = false;
    bool HasAlpha = false;
    // Black and white only (GetIconInfo then reports no colour bitmap, the planes stacked in the mask).
    bool Monochrome = false;
    std::vector<uint32_t> Pixels;
    std::vector<uint8_t> Mask; // one byte per pixel, 0 or 1

    bool IsValid() const
    {
        return Width > 0 && Height > 0 && Pixels.size() == size_t(Width) * size_t(Height)
            && Mask.size() == Pixels.size();
    }
    // What the image looks like over nothing: straight-alpha 0xAARRGGBB pixels. Masked pixels are transparent,
    // and pixels that invert the destination are given as opaque black (no display can invert under a cursor
    // image of this form).
    std::vector<uint32_t> StraightPixels() const;
};

// The largest cursor or icon accepted, per side.
constexpr int kMaxCursorSide = 256;

// Takes over `image` and returns a new handle; null (ERROR_INVALID_PARAMETER) when the image is not valid or
// larger than kMaxCursorSide.
HICON CreateIconFromImage(TCursorImage image);
// A copy of the image of a handle made by this layer; false for standard cursors, null and stale handles.
bool GetCursorImage(HCURSOR cursor, TCursorImage& image);
// The IDC_ number of a standard cursor (LoadCursor(nullptr, IDC_...)), 0 for any other handle.
UINT StandardCursorId(HCURSOR cursor);
// The number of live cursor and icon objects, for leak checks in tests.
size_t CursorObjectCount();

// A monochrome cursor from its AND and XOR planes (rows padded to 2 bytes, 1 is a set bit), as on Windows.
HCURSOR CreateCursor(
    HINSTANCE instance, int xHotSpot, int yHotSpot, int width, int height, const void* andPlane, const void* xorPlane);
// A new handle with the same image; standard cursors give themselves back.
HICON CopyIcon(HICON icon);
inline HCURSOR CopyCursor(HCURSOR cursor)
{
    return CopyIcon(cursor);
}
// Frees the object. FALSE for an invalid handle. Standard cursors are shared and never freed (TRUE). A cursor that
// is the current cursor stays usable until another is set: the display gets the arrow instead.
BOOL DestroyIcon(HICON icon);
BOOL DestroyCursor(HCURSOR cursor);

// Reads the first image of a cursor (.cur) or icon (.ico) file, or the first frame of an animated cursor (.ani),
// from untrusted bytes. The cursor entry closest to the system cursor size is taken. False with `error` set to
// a sentence naming what is wrong.
bool ParseCursorFile(const uint8_t* data, size_t size, TCursorImage& image, std::string& error);
// A cursor from a .cur, .ico or .ani file. Null with ERROR_FILE_NOT_FOUND when it cannot be read, ERROR_INVALID_DATA
// when its contents are not a cursor this layer reads.
HCURSOR LoadCursorFromFile(const char* fileName);
