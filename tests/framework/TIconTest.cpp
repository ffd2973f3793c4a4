#include "framework/graphics/TIcon.h"

#include "framework/core/Streams.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Icons.h"
#include "tests/framework/GraphicsTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A 4x4 icon image of `bitCount` bits (4 or 32): the left half blue and opaque, the right half transparent
// (mask bit set; for 32 bits, alpha 0). As an ICO file with one entry.
std::vector<uint8_t> IconFile(int bitCount)
{
    std::vector<uint8_t> dib;
    PutLE(dib, 40, 4);
    PutLE(dib, 4, 4);
    PutLE(dib, 8, 4); // colour rows and mask rows
    PutLE(dib, 1, 2);
    PutLE(dib, static_cast<uint32_t>(bitCount), 2);
    PutLE(dib, 0, 4);
    PutLE(dib, 0, 4);
    PutLE(dib, 0, 4);
    PutLE(dib, 0, 4);
    PutLE(dib, bitCount == 4 ? 16 : 0, 4);
    PutLE(dib, 0, 4);
    if (bitCount == 4) {
        for (int i = 0; i < 16; ++i)
            PutLE(dib, i == 1 ? 0x0000FF : 0, 4); // entry 1 blue
        for (int row = 0; row < 4; ++row)
            dib.insert(dib.end(), { 0x11, 0x00, 0, 0 });
    } else {
        for (int row = 0; row < 4; ++row) {
            for (int x = 0; x < 4; ++x) {
                if (x < 2)
                    dib.insert(dib.end(), { 0xFF, 0, 0, 0xFF });
                else
                    dib.insert(dib.end(), { 0, 0, 0, 0 });
            }
        }
    }
    for (int row = 0; row < 4; ++row)
        dib.insert(dib.end(), { 0x30, 0, 0, 0 }); // mask: pixels 2 and 3 show the background
    std::vector<uint8_t> file;
    PutLE(file, 0, 2);
    PutLE(file, 1, 2);
    PutLE(file, 1, 2);
    file.insert(file.end(), { 4, 4, uint8_t(bitCount == 4 ? 16 : 0), 0 });
    PutLE(file, 1, 2);
    PutLE(file, static_cast<uint32_t>(bitCount), 2);
    PutLE(file, static_cast<uint32_t>(dib.size()), 4);
    PutLE(file, 22, 4);
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

void Load(TIcon& icon, const std::vector<uint8_t>& bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(0);
    icon.LoadFromStream(stream);
}

} // namespace

TEST(TIcon, DrawsThroughItsMaskOrAlpha)
{
    for (int bitCount : { 4, 32 }) {
        SCOPED_TRACE(bitCount);
        TIcon icon;
        Load(icon, IconFile(bitCount));
        EXPECT_EQ(icon.Width(), 4);
        EXPECT_EQ(icon.Height(), 4);
        EXPECT_TRUE(icon.Transparent());
        TBitmap target;
        target.SetPixelFormat(pf32bit);
        target.SetSize(8, 8);
        target.Canvas()->Brush()->SetColor(clRed);
        target.Canvas()->FillRect(Rect(0, 0, 8, 8));
        target.Canvas()->Draw(2, 2, &icon);
        EXPECT_EQ(PixelOf(target, 2, 2), static_cast<uint32_t>(clBlue));
        EXPECT_EQ(PixelOf(target, 3, 5), static_cast<uint32_t>(clBlue));
        EXPECT_EQ(PixelOf(target, 4, 2), static_cast<uint32_t>(clRed));
        EXPECT_EQ(PixelOf(target, 1, 1), static_cast<uint32_t>(clRed));
        // Stretched to twice the size.
        target.Canvas()->FillRect(Rect(0, 0, 8, 8));
        target.Canvas()->StretchDraw(Rect(0, 0, 8, 8), &icon);
        EXPECT_EQ(PixelOf(target, 3, 7), static_cast<uint32_t>(clBlue));
        EXPECT_EQ(PixelOf(target, 4, 0), static_cast<uint32_t>(clRed));
    }
}

TEST(TIcon, SaveWritesWhatLoadReads)
{
    for (int bitCount : { 4, 32 }) {
        SCOPED_TRACE(bitCount);
        TIcon icon;
        Load(icon, IconFile(bitCount));
        TMemoryStream saved;
        icon.SaveToStream(saved);
        const auto* bytes = static_cast<const uint8_t*>(saved.Memory());
        std::vector<uint8_t> file(bytes, bytes + saved.Size());
        TIcon again;
        Load(again, file);
        TMemoryStream savedAgain;
        again.SaveToStream(savedAgain);
        EXPECT_EQ(savedAgain.Size(), saved.Size());
        EXPECT_TRUE(again.Equals(&icon));
        TIcon copy;
        copy.Assign(&icon);
        EXPECT_TRUE(copy.Equals(&icon));
    }
}

TEST(TIcon, SizeIsFixedOnceLoaded)
{
    TIcon icon;
    icon.SetWidth(4);
    icon.SetHeight(4);
    Load(icon, IconFile(4));
    try {
        icon.SetWidth(16);
        ADD_FAILURE() << "no exception";
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_EQ(e.Message(), "Cannot change the size of an icon");
    }
}

TEST(TIcon, BadFilesRaise)
{
    const std::vector<uint8_t> good = IconFile(4);
    auto with = [&](size_t offset, std::vector<uint8_t> bytes) {
        std::vector<uint8_t> file = good;
        for (size_t i = 0; i < bytes.size(); ++i)
            file.at(offset + i) = bytes[i];
        return file;
    };
    std::vector<uint8_t> png = good;
    png[22] = 0x89;
    png[23] = 'P';
    png[24] = 'N';
    png[25] = 'G';
    struct Case {
        const char* Name;
        std::vector<uint8_t> Bytes;
    };
    const Case kCases[] = {
        { "too short", { 0, 0, 1 } },
        { "reserved word set", with(0, { 1 }) },
        { "a type that is no icon", with(2, { 3 }) },
        { "no images", with(4, { 0 }) },
        { "more entries than the file holds", with(4, { 50 }) },
        { "image past the end", with(18, { 0xF0, 0xFF }) },
        { "only a PNG image", png },
        { "mask cut off", std::vector<uint8_t>(good.begin(), good.end() - 8) },
        { "DIB header of an unknown size", with(22, { 41 }) },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TIcon icon;
        try {
            Load(icon, c.Bytes);
            ADD_FAILURE() << "no exception";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), "Icon image is not valid");
        }
        EXPECT_TRUE(icon.Empty());
    }
}

// The handle shows the icon's image; an icon given a handle takes its image from it; a released handle is the
// caller's; a new image drops the old handle.
TEST(TIcon, HandleCarriesTheImageBothWays)
{
    for (int bitCount : { 4, 32 }) {
        SCOPED_TRACE(bitCount);
        const size_t before = CursorObjectCount();
        TIcon icon;
        EXPECT_EQ(icon.Handle(), nullptr);
        Load(icon, IconFile(bitCount));
        HICON handle = icon.Handle();
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(icon.Handle(), handle);

        TBitmap target;
        target.SetPixelFormat(pf32bit);
        target.SetSize(4, 4);
        target.Canvas()->Brush()->SetColor(clRed);
        target.Canvas()->FillRect(Rect(0, 0, 4, 4));
        ASSERT_TRUE(DrawIconEx(target.Canvas()->Handle(), 0, 0, handle, 0, 0, 0, nullptr, DI_NORMAL));
        EXPECT_EQ(PixelOf(target, 1, 1), static_cast<uint32_t>(clBlue));
        EXPECT_EQ(PixelOf(target, 2, 1), static_cast<uint32_t>(clRed));

        // Another icon takes the handle over and draws the same picture.
        TIcon other;
        other.SetHandle(icon.ReleaseHandle());
        EXPECT_FALSE(icon.HandleAllocated());
        EXPECT_EQ(other.Handle(), handle);
        EXPECT_EQ(other.Width(), 4);
        target.Canvas()->FillRect(Rect(0, 0, 4, 4));
        target.Canvas()->Draw(0, 0, &other);
        EXPECT_EQ(PixelOf(target, 0, 3), static_cast<uint32_t>(clBlue));
        EXPECT_EQ(PixelOf(target, 3, 3), static_cast<uint32_t>(clRed));

        // Loading a new image frees the handle it replaces.
        Load(other, IconFile(bitCount));
        EXPECT_FALSE(other.HandleAllocated());
        TCursorImage image;
        EXPECT_FALSE(GetCursorImage(handle, image));
        icon.Assign(nullptr);
        EXPECT_EQ(CursorObjectCount(), before);
    }
    TIcon icon;
    EXPECT_THROW(icon.SetHandle(reinterpret_cast<HICON>(uintptr_t(0x1237))), EInvalidGraphic);
    // A monochrome cursor's planes come back as mask and colour.
    const uint8_t andPlane[2] = { 0x80, 0 };
    const uint8_t xorPlane[2] = { 0x40, 0 };
    icon.SetHandle(CreateCursor(nullptr, 0, 0, 2, 1, andPlane, xorPlane));
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(2, 1);
    target.Canvas()->Brush()->SetColor(clRed);
    target.Canvas()->FillRect(Rect(0, 0, 2, 1));
    target.Canvas()->Draw(0, 0, &icon);
    EXPECT_EQ(PixelOf(target, 0, 0), static_cast<uint32_t>(clRed));
    EXPECT_EQ(PixelOf(target, 1, 0), static_cast<uint32_t>(clWhite));
}
