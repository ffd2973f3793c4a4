#include "imaging/TBitmap32.h"

#include "framework/core/Streams.h"
#include "framework/core/TFiler.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Counts the notifications a bitmap sends.
struct TEvents {
    int changes = 0;
    int resizes = 0;
    int handles = 0;
    void Watch(TBitmap32& b)
    {
        b.OnChange = [this](TObject*) { ++changes; };
        b.OnResize = [this](TObject*) { ++resizes; };
        b.OnHandleChanged = [this](TObject*) { ++handles; };
    }
};

// Pixels numbered 1, 2, 3 ... from the top left.
void Number(TBitmap32& b)
{
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, TColor32(y * b.Width() + x + 1));
}

std::vector<TColor32> Pixels(const TBitmap32& b)
{
    if (b.Empty())
        return {};
    return std::vector<TColor32>(b.Bits(), b.Bits() + size_t(b.Width()) * size_t(b.Height()));
}

} // namespace

TEST(TBitmap32, SizeChangesFollowTheProtocol)
{
    TBitmap32 b;
    TEvents e;
    e.Watch(b);
    EXPECT_TRUE(b.Empty());
    EXPECT_TRUE(b.SetSize(-5, 10));
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 10);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Bits(), nullptr);
    EXPECT_EQ(e.handles, 1); // also for an empty result
    EXPECT_EQ(e.changes, 1);
    EXPECT_EQ(e.resizes, 1);

    b.SetSize(3, 2);
    b.Clear(0xFF112233);
    e = {};
    e.Watch(b);
    EXPECT_FALSE(b.SetSize(3, 2));
    EXPECT_EQ(e.changes + e.resizes + e.handles, 0);
    EXPECT_EQ(b.Pixel(2, 1), 0xFF112233u);

    b.SetWidth(4);
    EXPECT_EQ(b.Width(), 4);
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(e.handles, 1);
    b.Delete();
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
}

TEST(TBitmap32, ImpossibleSizesFailCleanlyAndLeaveTheBitmapEmpty)
{
    struct Case {
        int32_t w, h;
    };
    const Case kCases[] = { { 100000, 100000 }, { INT32_MAX, 2 }, { 2, INT32_MAX }, { 0x8000, 0x8000 } };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        TBitmap32 b;
        b.SetSize(4, 4);
        TEvents e;
        e.Watch(b);
        try {
            b.SetSize(c.w, c.h);
            FAIL() << "no error";
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message(), "Can't allocate the DIB handle");
        }
        EXPECT_TRUE(b.Empty());
        EXPECT_EQ(b.Width(), 0);
        EXPECT_EQ(b.Height(), 0);
        EXPECT_EQ(e.handles, 1);
        EXPECT_EQ(e.changes, 0);
        EXPECT_EQ(e.resizes, 0);
    }
}

TEST(TBitmap32, UpdatesSilenceChangesWithoutReplayingThem)
{
    TBitmap32 b;
    TEvents e;
    e.Watch(b);
    b.Clear(); // empty: no notification
    EXPECT_EQ(e.changes, 0);
    b.SetSize(2, 2);
    e.changes = 0;
    b.Clear(0xFF000000);
    EXPECT_EQ(e.changes, 1);
    b.BeginUpdate();
    b.BeginUpdate();
    b.Clear(0xFFFFFFFF);
    b.EndUpdate();
    b.Clear(0xFFFFFFFF);
    b.EndUpdate();
    EXPECT_EQ(e.changes, 1);
    EXPECT_EQ(b.UpdateCount, 0);
    try {
        b.EndUpdate();
        FAIL() << "no error";
    } catch (const EAssertionFailed& error) {
        EXPECT_EQ(error.Message(), "Unpaired TThreadPersistent.EndUpdate");
    }
    EXPECT_EQ(b.UpdateCount, 0);

    // Setters notify only on a change; OuterColor is a plain field.
    b.SetDrawMode(dmOpaque);
    b.SetMasterAlpha(255);
    b.SetStretchFilter(sfNearest);
    b.OuterColor = 5;
    EXPECT_EQ(e.changes, 1);
    b.SetDrawMode(dmBlend);
    b.SetMasterAlpha(128);
    b.SetStretchFilter(sfMitchell);
    EXPECT_EQ(e.changes, 4);
}

TEST(TBitmap32, CheckedAndClampedPixelAccess)
{
    TBitmap32 b;
    b.OuterColor = 0x12345678;
    EXPECT_EQ(b.PixelS(0, 0), 0x12345678u);
    EXPECT_EQ(b.PixelB(3, 3), 0x12345678u); // nothing to clamp to
    b.SetPixelS(0, 0, 1);
    b.SetSize(10, 10);
    Number(b);
    EXPECT_EQ(b.PixelS(-1, 0), 0x12345678u);
    EXPECT_EQ(b.PixelS(10, 9), 0x12345678u);
    EXPECT_EQ(b.PixelS(9, 9), 100u);
    b.SetPixelS(-1, 0, 7);
    b.SetPixelS(10, 0, 7);
    EXPECT_EQ(b.PixelB(-3, 1000), b.Pixel(0, 9));
    EXPECT_EQ(b.PixelB(1000, -3), b.Pixel(9, 0));
    EXPECT_EQ(b.ScanLine(2)[3], 24u);
    EXPECT_EQ(*b.PixelPtr(3, 2), 24u);
    b.ResetAlpha();
    EXPECT_EQ(b.Pixel(3, 2), 0xFF000018u);
}

TEST(TBitmap32, AssignCopiesPixelsAndSettings)
{
    TBitmap32 src;
    src.SetSize(3, 2);
    Number(src);
    src.SetDrawMode(dmBlend);
    src.SetMasterAlpha(77);
    src.OuterColor = 9;
    src.SetStretchFilter(sfLanczos);

    TBitmap32 dst;
    TEvents e;
    e.Watch(dst);
    dst.Assign(&src);
    EXPECT_EQ(Pixels(dst), Pixels(src));
    EXPECT_EQ(dst.DrawMode(), dmBlend);
    EXPECT_EQ(dst.MasterAlpha(), 77u);
    EXPECT_EQ(dst.OuterColor, 9u);
    EXPECT_EQ(dst.StretchFilter(), sfLanczos);
    EXPECT_EQ(e.changes, 1); // one notification, after the update
    EXPECT_TRUE(dst.Equal(&src));

    // From an empty bitmap: emptied, the settings stay.
    TBitmap32 empty;
    dst.Assign(&empty);
    EXPECT_TRUE(dst.Empty());
    EXPECT_EQ(dst.DrawMode(), dmBlend);
    EXPECT_EQ(dst.MasterAlpha(), 77u);

    // Onto itself: the pixels stay.
    src.Assign(&src);
    EXPECT_EQ(src.Pixel(2, 1), 6u);

    dst.Assign(&src);
    dst.Assign(nullptr);
    EXPECT_TRUE(dst.Empty());

    TCustomMap map;
    EXPECT_THROW(dst.Assign(&map), EConvertError);
}

TEST(TBitmap32, EqualityAndSizeFromOtherObjects)
{
    TBitmap32 a, b;
    EXPECT_TRUE(a.Equal(&b));
    a.SetSize(2, 2);
    a.Clear(1);
    EXPECT_FALSE(a.Equal(&b));
    b.SetSize(2, 2);
    b.Clear(1);
    EXPECT_TRUE(a.Equal(&b));
    b.SetPixel(1, 1, 2);
    EXPECT_FALSE(a.Equal(&b));
    EXPECT_FALSE(a.Equal(nullptr));

    TCustomMap map;
    map.SetSize(5, 6);
    EXPECT_TRUE(a.SetSizeFrom(&map));
    EXPECT_EQ(a.Width(), 5);
    EXPECT_TRUE(a.SetSizeFrom(nullptr));
    EXPECT_TRUE(a.Empty());
    TPersistent other;
    try {
        a.SetSizeFrom(&other);
        FAIL() << "no error";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "Can't set size from 'TPersistent'");
    }
}

TEST(TBitmap32, DataPropertyRoundTrips)
{
    TBitmap32 b;
    b.SetSize(2, 1);
    b.SetPixel(0, 0, 0x44332211);
    b.SetPixel(1, 0, 0x88776655);
    TMemoryStream stream;
    b.WriteData(stream);
    const uint8_t expected[] = { 2, 0, 0, 0, 1, 0, 0, 0, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88 };
    ASSERT_EQ(stream.Size(), 16);
    EXPECT_EQ(std::memcmp(stream.Memory(), expected, 16), 0);

    TBitmap32 read;
    TEvents e;
    e.Watch(read);
    stream.SetPosition(0);
    read.ReadData(stream);
    EXPECT_TRUE(read.Equal(&b));
    EXPECT_EQ(e.changes, 2); // the size change and the end of the read

    // Stored only where it differs from the ancestor.
    TBitmap32 empty;
    EXPECT_TRUE(b.DataStored(nullptr));
    EXPECT_FALSE(empty.DataStored(nullptr));
    EXPECT_FALSE(b.DataStored(&read));
    read.SetPixel(0, 0, 0);
    EXPECT_TRUE(b.DataStored(&read));
    TCustomMap map;
    EXPECT_TRUE(empty.DataStored(&map));
}

TEST(TBitmap32, BadDataRaisesAndLeavesTheBitmapAsItWas)
{
    auto bytes = [](std::vector<int32_t> words, size_t extra) {
        std::string s(reinterpret_cast<const char*>(words.data()), words.size() * 4);
        s.append(extra, '\x7F');
        return s;
    };
    struct Case {
        const char* name;
        std::string data;
    };
    const Case kCases[] = {
        { "empty", "" },
        { "half a size", bytes({ 2 }, 0) },
        { "pixels missing", bytes({ 2, 2 }, 15) },
        { "huge claimed size", bytes({ 30000, 30000 }, 16) },
        { "size past the store limit", bytes({ INT32_MAX, INT32_MAX }, 16) },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        TBitmap32 b;
        b.SetSize(1, 1);
        b.SetPixel(0, 0, 0xCAFEBABE);
        TEvents e;
        e.Watch(b);
        TStringStream stream(c.data);
        EXPECT_THROW(b.ReadData(stream), EReadError);
        EXPECT_EQ(b.Width(), 1);
        EXPECT_EQ(b.Pixel(0, 0), 0xCAFEBABEu);
        EXPECT_EQ(e.changes, 1); // Changed is sent also when reading fails
    }
    // Negative sides read like SetSize takes them: as 0, with no pixels.
    TStringStream negative(bytes({ -5, 10 }, 0));
    TBitmap32 b;
    b.ReadData(negative);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 10);
}

// The bitmap's defined properties as a TWriter stores them.
static std::string Stored(TBitmap32& b, TPersistent* ancestor = nullptr)
{
    TStringStream stream;
    TWriter writer(stream);
    writer.SetAncestor(ancestor);
    writer.WriteProperties(b);
    return stream.DataString();
}

TEST(TBitmap32, DataGoesThroughTheFiler)
{
    TBitmap32 b;
    b.SetSize(3, 2);
    Number(b);
    TStringStream stream(Stored(b));
    TBitmap32 read;
    read.SetSize(7, 7);
    TReader reader(stream);
    reader.ReadProperties(read);
    EXPECT_EQ(read.Width(), 3);
    EXPECT_EQ(read.Height(), 2);
    EXPECT_TRUE(read.Equal(&b));
    EXPECT_EQ(stream.Position(), stream.Size());

    // Nothing stored when there is nothing to store: an empty bitmap, or one equal to the ancestor.
    TBitmap32 empty;
    TBitmap32 same;
    same.Assign(&b);
    for (const std::string& bytes : { Stored(empty), Stored(b, &same) }) {
        EXPECT_EQ(bytes, std::string(1, '\0'));
        TStringStream none(bytes);
        TReader(none).ReadProperties(read);
        EXPECT_TRUE(read.Equal(&b));
    }
}

TEST(TBitmap32, BadStoredDataRaisesAndLeavesTheBitmapAsItWas)
{
    TBitmap32 source;
    source.SetSize(3, 2);
    Number(source);
    const std::string good = Stored(source);
    // name length, "Data", kind, 8-byte payload length, then the payload: width, height, pixels; then the end.
    constexpr size_t kKind = 5, kLength = 6, kWidth = 14;
    ASSERT_EQ(good.size(), kWidth + 8 + 6 * 4 + 1);
    auto changed = [&](size_t at, std::string bytes) {
        std::string s = good;
        s.replace(at, bytes.size(), bytes);
        return s;
    };
    struct Case {
        std::string name;
        std::string data;
    };
    std::vector<Case> cases = {
        { "unknown property", changed(1, "Date") },
        { "values where binary is defined", changed(kKind, "\x02") },
        { "unknown kind", changed(kKind, "\x09") },
        { "huge payload length", changed(kLength, std::string(8, '\xFF')) },
        { "pixels missing", changed(kWidth, "\x04") },
        { "pixels left over", changed(kWidth, "\x02") },
        { "payload cut short", changed(kLength, "\x10") },
        { "stored twice", good.substr(0, good.size() - 1) + good },
    };
    for (size_t n = 0; n < good.size(); ++n)
        cases.push_back({ "first " + std::to_string(n) + " bytes", good.substr(0, n) });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap32 b;
        b.SetSize(1, 1);
        b.SetPixel(0, 0, 0xCAFEBABE);
        TStringStream stream(c.data);
        TReader reader(stream);
        EXPECT_THROW(reader.ReadProperties(b), EReadError);
        EXPECT_EQ(b.Width(), 1);
        EXPECT_EQ(b.Height(), 1);
        EXPECT_EQ(b.Pixel(0, 0), 0xCAFEBABEu);
    }
}

TEST(TBitmap32, RollMovesAlongThePixelArray)
{
    struct Case {
        int dx, dy;
        bool fillBack;
        std::vector<TColor32> expected;
    };
    const Case kCases[] = {
        { 1, 0, false, { 1, 1, 2, 3, 4, 5 } },
        { 1, 0, true, { 0, 1, 2, 0, 4, 5 } },
        { -1, 0, true, { 2, 3, 0, 5, 6, 0 } },
        { 0, 1, true, { 0, 0, 0, 1, 2, 3 } },
        { 0, -1, false, { 4, 5, 6, 4, 5, 6 } },
        { 3, 0, true, { 0, 0, 0, 0, 0, 0 } },
        { 3, 0, false, { 1, 2, 3, 4, 5, 6 } },
        { 0, 0, true, { 1, 2, 3, 4, 5, 6 } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy << " fill " << c.fillBack);
        TBitmap32 b;
        b.SetSize(3, 2);
        Number(b);
        b.Roll(c.dx, c.dy, c.fillBack, 0);
        EXPECT_EQ(Pixels(b), c.expected);
    }
    TBitmap32 empty;
    empty.Roll(1, 1, true, 0);
}

TEST(TBitmap32, FlipsAndQuarterTurns)
{
    TBitmap32 b;
    b.SetSize(3, 2);
    Number(b);
    b.SetDrawMode(dmBlend);
    b.SetStretchFilter(sfLinear);
    b.SetMasterAlpha(10);
    b.OuterColor = 3;

    TBitmap32 d;
    b.FlipHorz(&d);
    EXPECT_EQ(Pixels(d), (std::vector<TColor32> { 3, 2, 1, 6, 5, 4 }));
    b.FlipVert(&d);
    EXPECT_EQ(Pixels(d), (std::vector<TColor32> { 4, 5, 6, 1, 2, 3 }));
    b.Rotate180(&d);
    EXPECT_EQ(Pixels(d), (std::vector<TColor32> { 6, 5, 4, 3, 2, 1 }));
    b.Rotate90(&d);
    EXPECT_EQ(d.Width(), 2);
    EXPECT_EQ(Pixels(d), (std::vector<TColor32> { 4, 1, 5, 2, 6, 3 }));
    d.BeginUpdate();
    b.Rotate270(&d);
    EXPECT_EQ(d.UpdateCount, 1);
    d.EndUpdate();
    EXPECT_EQ(Pixels(d), (std::vector<TColor32> { 3, 6, 2, 5, 1, 4 }));

    TBitmap32 c;
    c.Assign(&b);
    c.FlipHorz();
    c.FlipHorz(&c);
    EXPECT_EQ(Pixels(c), Pixels(b));
    c.FlipVert();
    c.Rotate180();
    EXPECT_EQ(Pixels(c), (std::vector<TColor32> { 3, 2, 1, 6, 5, 4 }));

    b.Rotate90();
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Height(), 3);
    EXPECT_EQ(Pixels(b), (std::vector<TColor32> { 4, 1, 5, 2, 6, 3 }));
    EXPECT_EQ(b.DrawMode(), dmBlend);
    EXPECT_EQ(b.StretchFilter(), sfLinear);
    EXPECT_EQ(b.MasterAlpha(), 10u);
    EXPECT_EQ(b.OuterColor, 3u);
    // This bitmap as its own target means "in place", not a corrupting overlap.
    b.Rotate270(&b);
    EXPECT_EQ(Pixels(b), (std::vector<TColor32> { 1, 2, 3, 4, 5, 6 }));
    b.Rotate90(&b);
    b.Rotate90(&b);
    b.Rotate180(&b);
    EXPECT_EQ(Pixels(b), (std::vector<TColor32> { 1, 2, 3, 4, 5, 6 }));
}

TEST(TBitmap32, LockIsReentrantAndCounted)
{
    TBitmap32 b;
    b.Lock();
    b.Lock();
    EXPECT_EQ(b.LockCount(), 2);
    b.Unlock();
    b.Unlock();
    EXPECT_EQ(b.LockCount(), 0);
}
