// Cursors and icons: made from planes, bitmaps and files, drawn, copied and destroyed, and shown by the display.
#include "GdiTestSupport.h"
#include "PlatformTestSupport.h"
#include "platform/gdi/Gdi.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A cursor (type 2) or icon (type 1) file with one 32-bit image of `side` x `side`: pixel (x, y) is `paint(x, y)`
// (0xAARRGGBB) and the AND mask is 1 where `masked(x, y)`.
template <class Paint, class Masked>
std::vector<uint8_t> CursorFile(int side, int hotX, int hotY, Paint paint, Masked masked, int type = 2)
{
    std::vector<uint8_t> dib;
    Put32(dib, 40);
    Put32(dib, uint32_t(side));
    Put32(dib, uint32_t(side * 2));
    Put16(dib, 1);
    Put16(dib, 32);
    for (int i = 0; i < 6; ++i)
        Put32(dib, 0);
    for (int y = side - 1; y >= 0; --y)
        for (int x = 0; x < side; ++x)
            Put32(dib, paint(x, y));
    const size_t maskRow = size_t((side + 31) / 32) * 4;
    for (int y = side - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskRow, 0);
        for (int x = 0; x < side; ++x)
            if (masked(x, y))
                row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
        dib.insert(dib.end(), row.begin(), row.end());
    }
    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, uint32_t(type));
    Put16(file, 1);
    file.push_back(uint8_t(side));
    file.push_back(uint8_t(side));
    file.push_back(0);
    file.push_back(0);
    Put16(file, uint32_t(hotX));
    Put16(file, uint32_t(hotY));
    Put32(file, uint32_t(dib.size()));
    Put32(file, 22);
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

// A RIFF chunk.
void Chunk(std::vector<uint8_t>& out, const char* id, const std::vector<uint8_t>& data)
{
    out.insert(out.end(), id, id + 4);
    Put32(out, uint32_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() & 1)
        out.push_back(0);
}

// An animated cursor of the given frames, with a step sequence when `sequence` is not empty.
std::vector<uint8_t> AnimatedCursor(
    const std::vector<std::vector<uint8_t>>& frames, const std::vector<uint32_t>& sequence, uint32_t flags = 1)
{
    std::vector<uint8_t> header;
    Put32(header, 36);
    Put32(header, uint32_t(frames.size()));
    Put32(header, uint32_t(sequence.empty() ? frames.size() : sequence.size()));
    for (int i = 0; i < 4; ++i)
        Put32(header, 0);
    Put32(header, 10);
    Put32(header, flags);
    std::vector<uint8_t> body { 'A', 'C', 'O', 'N' };
    Chunk(body, "anih", header);
    if (!sequence.empty()) {
        std::vector<uint8_t> seq;
        for (uint32_t s : sequence)
            Put32(seq, s);
        Chunk(body, "seq ", seq);
    }
    std::vector<uint8_t> list { 'f', 'r', 'a', 'm' };
    for (const auto& frame : frames)
        Chunk(list, "icon", frame);
    Chunk(body, "LIST", list);
    std::vector<uint8_t> file;
    Chunk(file, "RIFF", body);
    return file;
}

// A red cursor of `side` with a transparent left column, hot spot (3, 5).
std::vector<uint8_t> RedCursor(int side = 32)
{
    return CursorFile(
        side, 3, 5, [](int x, int) { return x == 0 ? 0u : 0xFFFF0000u; }, [](int x, int) { return x == 0; });
}

std::string WriteTemp(const std::string& name, const std::vector<uint8_t>& bytes)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / ("tp_cursor_" + name);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path.string();
}

// A 32-bit memory DC filled with one colour, for drawing icons on.
struct TCanvasDC {
    HDC Dc;
    HBITMAP Bitmap;
    HGDIOBJ Old;
    TCanvasDC(int w, int h, COLORREF fill)
    {
        Dc = CreateCompatibleDC(nullptr);
        Bitmap = CreateBitmap(w, h, 1, 32, nullptr);
        Old = SelectObject(Dc, Bitmap);
        HBRUSH brush = CreateSolidBrush(fill);
        const RECT r { 0, 0, w, h };
        FillRect(Dc, &r, brush);
        DeleteObject(brush);
    }
    ~TCanvasDC()
    {
        SelectObject(Dc, Old);
        DeleteObject(Bitmap);
        DeleteDC(Dc);
    }
    COLORREF At(int x, int y) const { return GetPixel(Dc, x, y); }
};

} // namespace

// A monochrome cursor from planes: transparent, black, white and inverting pixels, drawn and reported back.
TEST(Cursors, MonochromePlanesDrawAndRoundTrip)
{
    // One row of 16 pixels: AND 1100 1100.., XOR 1010 1010..: pixels (AND, XOR) = (1,1) invert, (1,0) keep,
    // (0,1) white, (0,0) black.
    const uint8_t andPlane[2] = { 0xCC, 0xCC };
    const uint8_t xorPlane[2] = { 0xAA, 0xAA };
    HCURSOR cursor = CreateCursor(nullptr, 1, 0, 16, 1, andPlane, xorPlane);
    ASSERT_NE(cursor, nullptr);

    TCanvasDC canvas(16, 1, RGB(10, 20, 30));
    ASSERT_TRUE(DrawIconEx(canvas.Dc, 0, 0, cursor, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.At(0, 0), RGB(245, 235, 225)); // inverted
    EXPECT_EQ(canvas.At(1, 0), RGB(10, 20, 30)); // kept
    EXPECT_EQ(canvas.At(2, 0), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(3, 0), RGB(0, 0, 0));

    ICONINFO info {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 1u);
    EXPECT_EQ(info.hbmColor, nullptr);
    BITMAP bm {};
    ASSERT_EQ(GetObject(info.hbmMask, sizeof bm, &bm), int(sizeof bm));
    EXPECT_EQ(bm.bmHeight, 2); // AND above XOR

    // The reported planes make the same cursor again.
    HCURSOR again = CreateIconIndirect(&info);
    TCursorImage a, b;
    ASSERT_TRUE(GetCursorImage(cursor, a));
    ASSERT_TRUE(GetCursorImage(again, b));
    EXPECT_EQ(a.Pixels, b.Pixels);
    EXPECT_EQ(a.Mask, b.Mask);
    EXPECT_EQ(b.HotSpot.x, 1);
    DeleteObject(info.hbmMask);
    DestroyCursor(again);
    DestroyCursor(cursor);
}

// An icon with alpha blends over the destination, scales, and reports its centre as the hot spot.
TEST(Cursors, AlphaIconFromBitmapsBlendsAndScales)
{
    // 2x1: opaque blue, then half-transparent white.
    const uint32_t pixels[2] = { 0xFF0000FFu, 0x80FFFFFFu };
    HBITMAP color = CreateBitmap(2, 1, 1, 32, pixels);
    const uint8_t maskBits[2] = { 0, 0 };
    HBITMAP mask = CreateBitmap(2, 1, 1, 1, maskBits);
    ICONINFO info { TRUE, 7, 7, mask, color };
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(color);
    DeleteObject(mask);
    ASSERT_NE(icon, nullptr);

    TCanvasDC canvas(4, 2, RGB(0, 0, 0));
    ASSERT_TRUE(DrawIconEx(canvas.Dc, 0, 0, icon, 4, 2, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.At(1, 1), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(3, 1), RGB(128, 128, 128));

    ICONINFO back {};
    ASSERT_TRUE(GetIconInfo(icon, &back));
    EXPECT_TRUE(back.fIcon);
    EXPECT_EQ(back.xHotspot, 1u);
    EXPECT_EQ(back.yHotspot, 0u);
    ASSERT_NE(back.hbmColor, nullptr);
    uint32_t read[2] = {};
    EXPECT_EQ(GetBitmapBits(back.hbmColor, sizeof read, read), LONG(sizeof read));
    EXPECT_EQ(read[0], pixels[0]);
    EXPECT_EQ(read[1], pixels[1]);
    DeleteObject(back.hbmColor);
    DeleteObject(back.hbmMask);

    // Over a flicker-free brush the destination gets the finished picture, background included.
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    ASSERT_TRUE(DrawIconEx(canvas.Dc, 0, 0, icon, 2, 1, 0, green, DI_NORMAL));
    EXPECT_EQ(canvas.At(1, 0), RGB(128, 255, 128));
    DeleteObject(green);
    DestroyIcon(icon);
}

// Copies are independent; destroyed and stale handles fail everywhere; standard cursors are shared.
TEST(Cursors, CopyDestroyAndStaleHandles)
{
    const size_t before = CursorObjectCount();
    const uint8_t planes[2] = { 0, 0 };
    HCURSOR cursor = CreateCursor(nullptr, 0, 0, 1, 1, planes, planes);
    HICON copy = CopyIcon(cursor);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, cursor);
    EXPECT_EQ(CursorObjectCount(), before + 2);
    EXPECT_TRUE(DestroyCursor(cursor));
    EXPECT_FALSE(DestroyCursor(cursor));
    TCursorImage image;
    EXPECT_FALSE(GetCursorImage(cursor, image));
    EXPECT_TRUE(GetCursorImage(copy, image));
    ICONINFO info {};
    EXPECT_FALSE(GetIconInfo(cursor, &info));
    EXPECT_EQ(CopyIcon(cursor), nullptr);
    EXPECT_TRUE(DestroyIcon(copy));
    EXPECT_EQ(CursorObjectCount(), before);

    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    EXPECT_EQ(StandardCursorId(arrow), 32512u);
    EXPECT_EQ(CopyIcon(arrow), arrow);
    EXPECT_TRUE(DestroyCursor(arrow));
    EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), arrow);
    EXPECT_EQ(StandardCursorId(copy), 0u);

    // Sizes past what a cursor may be, and missing planes, are refused.
    EXPECT_EQ(CreateCursor(nullptr, 0, 0, 0, 1, planes, planes), nullptr);
    EXPECT_EQ(CreateCursor(nullptr, 0, 0, 1, 1, nullptr, planes), nullptr);
    TCursorImage huge;
    huge.Width = huge.Height = kMaxCursorSide + 1;
    huge.Pixels.resize(size_t(huge.Width) * size_t(huge.Height));
    huge.Mask.resize(huge.Pixels.size());
    EXPECT_EQ(CreateIconFromImage(huge), nullptr);
}

// Cursor and animated cursor files: the image closest to the cursor size, its hot spot, and the first frame of an
// animation by its step sequence.
TEST(Cursors, LoadFromCursorAndAnimatedFiles)
{
    const std::string cur = WriteTemp("red.cur", RedCursor());
    HCURSOR cursor = LoadCursorFromFile(cur.c_str());
    ASSERT_NE(cursor, nullptr);
    TCursorImage image;
    ASSERT_TRUE(GetCursorImage(cursor, image));
    EXPECT_EQ(image.Width, 32);
    EXPECT_EQ(image.HotSpot.x, 3);
    EXPECT_EQ(image.HotSpot.y, 5);
    const std::vector<uint32_t> straight = image.StraightPixels();
    EXPECT_EQ(straight[0], 0u);
    EXPECT_EQ(straight[1], 0xFFFF0000u);
    DestroyCursor(cursor);

    // Frame 1 comes first by the sequence; a green 16-pixel frame 0 is not shown first.
    const auto green = CursorFile(
        16, 0, 0, [](int, int) { return 0xFF00FF00u; }, [](int, int) { return false; });
    const std::string ani = WriteTemp("anim.ani", AnimatedCursor({ green, RedCursor(24) }, { 1, 0 }));
    cursor = LoadCursorFromFile(ani.c_str());
    ASSERT_NE(cursor, nullptr);
    ASSERT_TRUE(GetCursorImage(cursor, image));
    EXPECT_EQ(image.Width, 24);
    EXPECT_EQ(image.StraightPixels()[1], 0xFFFF0000u);
    DestroyCursor(cursor);

    // Without a sequence, frame 0.
    std::string error;
    const auto noSequence = AnimatedCursor({ green, RedCursor() }, {});
    ASSERT_TRUE(ParseCursorFile(noSequence.data(), noSequence.size(), image, error)) << error;
    EXPECT_EQ(image.Width, 16);

    // A file with several sizes gives the one closest to the cursor size.
    std::vector<uint8_t> two = RedCursor(48);
    std::vector<uint8_t> small = RedCursor(30);
    two[4] = 2; // two entries: move the first image's offset past a second entry
    std::vector<uint8_t> entry(small.begin() + 6, small.begin() + 22);
    const uint32_t firstOffset = 22 + 16;
    const uint32_t secondOffset = uint32_t(two.size()) + 16;
    std::memcpy(two.data() + 18, &firstOffset, 4);
    std::memcpy(entry.data() + 12, &secondOffset, 4);
    two.insert(two.begin() + 22, entry.begin(), entry.end());
    two.insert(two.end(), small.begin() + 22, small.end());
    ASSERT_TRUE(ParseCursorFile(two.data(), two.size(), image, error)) << error;
    EXPECT_EQ(image.Width, 30);

    std::remove(cur.c_str());
    std::remove(ani.c_str());
}

// Malformed files fail with a sentence saying why, and LoadCursorFromFile reports them as bad data.
TEST(Cursors, BadFilesFailClearly)
{
    const std::vector<uint8_t> good = RedCursor();
    auto with = [&](size_t at, std::vector<uint8_t> bytes) {
        std::vector<uint8_t> out = good;
        std::copy(bytes.begin(), bytes.end(), out.begin() + long(at));
        return out;
    };
    struct Case {
        const char* Name;
        std::vector<uint8_t> Bytes;
    };
    const Case cases[] = {
        { "empty", {} },
        { "truncated directory", std::vector<uint8_t>(good.begin(), good.begin() + 12) },
        { "truncated pixels", std::vector<uint8_t>(good.begin(), good.begin() + 200) },
        { "wrong type", with(2, { 3, 0 }) },
        { "no images", with(4, { 0, 0 }) },
        { "offset outside", with(18, { 0xFF, 0xFF, 0xFF, 0x7F }) },
        { "size past the file", with(14, { 0xFF, 0xFF, 0xFF, 0xFF }) },
        { "png image", with(22, { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' }) },
        { "zero width", with(26, { 0, 0, 0, 0 }) },
        { "negative width", with(26, { 0xFF, 0xFF, 0xFF, 0xFF }) },
        { "huge height", with(30, { 0, 0, 0, 0x10 }) },
        { "bad depth", with(36, { 7, 0 }) },
        { "compressed", with(38, { 1, 0, 0, 0 }) },
        { "header size past image", with(22, { 0xFF, 0xFF, 0, 0 }) },
        { "ani without header", AnimatedCursor({ good }, {}, 1) },
        { "ani of raw bitmaps", AnimatedCursor({ good }, {}, 0) },
        { "ani sequence out of range", AnimatedCursor({ good }, { 5 }) },
        { "ani without frames", AnimatedCursor({}, {}) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<uint8_t> bytes = c.Bytes;
        if (std::string(c.Name) == "ani without header") {
            // Rename the header chunk so it is not found.
            bytes[12] = 'x';
        }
        TCursorImage image;
        std::string error;
        EXPECT_FALSE(ParseCursorFile(bytes.data(), bytes.size(), image, error));
        EXPECT_FALSE(error.empty());
    }

    const std::string bad = WriteTemp("bad.cur", with(2, { 3, 0 }));
    SetLastError(0);
    EXPECT_EQ(LoadCursorFromFile(bad.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    std::remove(bad.c_str());
    EXPECT_EQ(LoadCursorFromFile("/nonexistent/cursor.cur"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

class CursorDisplay : public PlatformTest {};

// A skin cursor set as a window class's cursor reaches the display with its pixels and hot spot when the pointer
// enters the window, and the display falls back to the arrow when the cursor is destroyed while shown.
TEST_F(CursorDisplay, SkinCursorPixelsReachTheBackend)
{
    const std::string cur = WriteTemp("skin.cur", RedCursor());
    HCURSOR skin = LoadCursorFromFile(cur.c_str());
    std::remove(cur.c_str());
    ASSERT_NE(skin, nullptr);
    HWND top = CreateTop(RECT { 100, 100, 300, 300 });
    Handler = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT) {
            SetCursor(skin);
            return TRUE;
        }
        return std::nullopt;
    };
    Backend.MouseMove(150, 150);
    Pump();
    EXPECT_EQ(Backend.Cursor(), skin);
    const TCursorImage& shown = Backend.CursorImage();
    ASSERT_EQ(shown.Width, 32);
    EXPECT_EQ(shown.HotSpot.x, 3);
    EXPECT_EQ(shown.HotSpot.y, 5);
    EXPECT_EQ(shown.StraightPixels()[33], 0xFFFF0000u);

    Handler = nullptr;
    DestroyCursor(skin);
    EXPECT_EQ(StandardCursorId(Backend.Cursor()), 32512u);
    EXPECT_TRUE(Backend.CursorImage().Pixels.empty());
    DestroyWindow(top);
}
