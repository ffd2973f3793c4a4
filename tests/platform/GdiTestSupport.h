// The GDI tests' canvas: a memory DC over a DIB section whose pixels the tests read directly, and a fixture that
// checks every test frees the GDI objects it made.
#pragma once
#include "platform/gdi/Gdi.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

// A memory DC holding a DIB section of `bitCount` bits, filled with `fill`.
class TTestCanvas {
public:
    TTestCanvas(int width, int height, COLORREF fill = RGB(255, 255, 255), int bitCount = 32, bool topDown = true)
        : Width(width)
        , Height(height)
        , Bgra(bitCount == 32 && topDown)
    {
        std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
        auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
        header->biSize = sizeof(BITMAPINFOHEADER);
        header->biWidth = width;
        header->biHeight = topDown ? -height : height;
        header->biPlanes = 1;
        header->biBitCount = WORD(bitCount);
        if (bitCount <= 8) {
            const std::vector<uint32_t> table = DefaultColorTable(bitCount);
            auto* quads = reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
            for (size_t i = 0; i < table.size(); ++i)
                quads[i] = RGBQUAD { BYTE(table[i]), BYTE(table[i] >> 8), BYTE(table[i] >> 16), 0 };
        }
        Bitmap
            = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &Bits, nullptr, 0);
        Dc = CreateCompatibleDC(nullptr);
        Old = SelectObject(Dc, Bitmap);
        Fill(fill);
    }
    ~TTestCanvas()
    {
        SelectObject(Dc, Old);
        DeleteDC(Dc);
        DeleteObject(Bitmap);
    }
    TTestCanvas(const TTestCanvas&) = delete;
    TTestCanvas& operator=(const TTestCanvas&) = delete;

    void Fill(COLORREF color)
    {
        HBRUSH brush = CreateSolidBrush(color);
        const RECT all { 0, 0, Width, Height };
        FillRect(Dc, &all, brush);
        DeleteObject(brush);
    }
    // 0x00RRGGBB of bitmap pixel (x, y), whatever the DC's origins and clip: straight from the memory of a 32-bit
    // top-down canvas, through a second DC otherwise.
    uint32_t At(int x, int y) const
    {
        if (Bgra)
            return Raw(x, y) & 0xFFFFFF;
        HDC reader = CreateCompatibleDC(nullptr);
        const int level = SaveDC(Dc);
        HGDIOBJ mine = SelectObject(Dc, Old);
        HGDIOBJ previous = SelectObject(reader, mine);
        const COLORREF c = GetPixel(reader, x, y);
        SelectObject(reader, previous);
        SelectObject(Dc, mine);
        RestoreDC(Dc, level);
        DeleteDC(reader);
        return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
    }
    // The 32-bit memory as it is (top-down 32-bit canvases only).
    uint32_t Raw(int x, int y) const
    {
        return static_cast<const uint32_t*>(Bits)[size_t(y) * size_t(Width) + size_t(x)];
    }
    bool Is(int x, int y, COLORREF c) const { return At(x, y) == PixelFromColor(c); }
    int Count(COLORREF c) const
    {
        int n = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                n += Is(x, y, c) ? 1 : 0;
        return n;
    }
    // The bounding box of the pixels that are not `background`; empty when none.
    RECT Ink(COLORREF background) const
    {
        RECT box { Width, Height, 0, 0 };
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                if (!Is(x, y, background)) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box.left < box.right ? box : RECT {};
    }
    // The bounding box of the pixels of colour `c`; empty when none.
    RECT BoxOf(COLORREF c) const
    {
        RECT box { Width, Height, 0, 0 };
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                if (Is(x, y, c)) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box.left < box.right ? box : RECT {};
    }
    // Rows of '#' (colour `ink`) and '.' for readable failures.
    std::string Picture(const RECT& area, COLORREF ink) const
    {
        std::string out;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x)
                out += Is(x, y, ink) ? '#' : '.';
            out += '\n';
        }
        return out;
    }

    int Width;
    int Height;
    bool Bgra;
    HBITMAP Bitmap = nullptr;
    void* Bits = nullptr;
    HDC Dc = nullptr;
    HGDIOBJ Old = nullptr;
};

// Every test ends with as many GDI objects as it started with (the shared stock objects made beforehand).
class GdiTest : public testing::Test {
protected:
    void SetUp() override
    {
        GetStockObject(WHITE_BRUSH);
        GetSysColorBrush(COLOR_WINDOW);
        FObjects = GdiObjectCount();
    }
    void TearDown() override { EXPECT_EQ(GdiObjectCount(), FObjects) << "GDI objects leaked"; }

private:
    size_t FObjects = 0;
};

inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& out, const RECT& r)
{
    return out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}
