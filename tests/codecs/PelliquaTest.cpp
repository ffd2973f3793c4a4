// The preview converter: RGB565 in, B,G,R,A out, same size and row order, and its handle rules.
#include "codecs/pelliqua/Pelliqua.h"

#include <gtest/gtest.h>
#include <vector>

TEST(Pelliqua, ConvertsKnownPixelsKeepingRowOrder)
{
    struct Case {
        uint16_t Pixel;
        uint8_t B, G, R;
    };
    const Case kCases[] = {
        { 0xF800, 0, 0, 255 }, { 0x07E0, 0, 255, 0 }, { 0x001F, 255, 0, 0 }, { 0xFFFF, 255, 255, 255 },
        { 0x0000, 0, 0, 0 },
        { 0x8410, 132, 130, 132 }, // Half of each channel: 5 and 6 bits widened by repeating their top bits.
    };
    const int w = 6;
    const int h = 3;
    // Row 0 holds the cases; rows 1 and 2 are black, so a flipped output shows at once.
    std::vector<uint8_t> source(size_t(w) * h * 2, 0);
    for (int x = 0; x < w; ++x) {
        source[size_t(x) * 2] = uint8_t(kCases[x].Pixel & 0xFF);
        source[size_t(x) * 2 + 1] = uint8_t(kCases[x].Pixel >> 8);
    }
    // The caller's buffer is w x h x 5 bytes; only the first w x h x 4 are written.
    std::vector<uint8_t> target(size_t(w) * h * 5, 0xEE);
    const PelliquaHandle handle = Pelliqua_Create(w, h);
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(Pelliqua_Convert(handle, source.data(), target.data(), 0), 1);
    for (int x = 0; x < w; ++x) {
        SCOPED_TRACE(x);
        const uint8_t* pixel = &target[size_t(x) * 4];
        EXPECT_NEAR(pixel[0], kCases[x].B, 1);
        EXPECT_NEAR(pixel[1], kCases[x].G, 1);
        EXPECT_NEAR(pixel[2], kCases[x].R, 1);
        EXPECT_EQ(pixel[3], 255);
        const uint8_t* below = &target[size_t(w + x) * 4];
        EXPECT_EQ(below[0] | below[1] | below[2], 0);
        EXPECT_EQ(below[3], 255);
    }
    EXPECT_EQ(target[size_t(w) * h * 4], 0xEE);
    EXPECT_EQ(target.back(), 0xEE);
    Pelliqua_Free(handle);
}

TEST(Pelliqua, RefusesUnknownHandlesAndBadSizes)
{
    EXPECT_EQ(Pelliqua_Create(0, 10), 0u);
    EXPECT_EQ(Pelliqua_Create(10, -2), 0u);
    EXPECT_EQ(Pelliqua_Create(20000, 10), 0u);

    std::vector<uint8_t> source(8, 0xFF);
    std::vector<uint8_t> target(16, 0xEE);
    EXPECT_EQ(Pelliqua_Convert(0, source.data(), target.data(), 0), 0);
    const PelliquaHandle handle = Pelliqua_Create(2, 2);
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(Pelliqua_Convert(handle, nullptr, target.data(), 0), 0);
    EXPECT_EQ(Pelliqua_Convert(handle, source.data(), nullptr, 0), 0);
    Pelliqua_Free(handle);
    // A freed handle is refused, not dereferenced; freeing it again or freeing 0 does nothing.
    EXPECT_EQ(Pelliqua_Convert(handle, source.data(), target.data(), 0), 0);
    EXPECT_EQ(target, std::vector<uint8_t>(16, 0xEE));
    Pelliqua_Free(handle);
    Pelliqua_Free(0);
}
