// The frame scaler: crop, scale and fit of whole frames into planar Y,U,V, checked pixel by pixel.
#include "tests/codecs/WriterTestSupport.h"

#include <cstdlib>

namespace {

struct TScalerDeleter {
    void operator()(FrameScaler* scaler) const { Braskel_ReleaseFrameScaler(scaler); }
};
using TScalerPtr = std::unique_ptr<FrameScaler, TScalerDeleter>;

// One pixel of a colour code 5 frame of the size.
struct Pixel {
    int Y;
    int U;
    int V;
};

Pixel At(const uint8_t* frame, int width, int height, int x, int y)
{
    const uint8_t* u = frame + size_t(width) * height;
    const uint8_t* v = u + size_t((width + 1) / 2) * ((height + 1) / 2);
    const size_t chroma = size_t(y / 2) * ((width + 1) / 2) + x / 2;
    return { frame[size_t(y) * width + x], u[chroma], v[chroma] };
}

bool IsBlack(Pixel pixel)
{
    return pixel.Y == 16 && pixel.U == 128 && pixel.V == 128;
}

bool IsRed(Pixel pixel)
{
    return std::abs(pixel.Y - kTestRedY) <= 3 && std::abs(pixel.V - kTestRedV) <= 3;
}

bool IsGrey(Pixel pixel)
{
    return std::abs(pixel.Y - kTestGreyY) <= 3 && std::abs(pixel.U - 128) <= 3 && std::abs(pixel.V - 128) <= 3;
}

struct InitCase {
    const char* Name;
    int OutputWidth, OutputHeight, SourceWidth, SourceHeight, ColorFormat;
    int Left, Right, Top, Bottom;
};

const InitCase kBadInits[] = {
    { "zero output width", 0, 120, 160, 120, 5, 0, 0, 0, 0 },
    { "negative output height", 160, -2, 160, 120, 5, 0, 0, 0, 0 },
    { "zero source height", 160, 120, 160, 0, 5, 0, 0, 0, 0 },
    { "source wider than any frame", 160, 120, 100000, 120, 5, 0, 0, 0, 0 },
    { "unknown colour format", 160, 120, 160, 120, 2, 0, 0, 0, 0 },
    { "crop as tall as the frame", 160, 120, 160, 120, 5, 0, 0, 60, 60 },
    { "negative crop", 160, 120, 160, 120, 5, -4, 0, 0, 0 },
    { "crop near the int32 limit", 160, 120, 160, 120, 5, 2147483600, 2147483600, 0, 0 },
};

} // namespace

TEST(FrameScaler, BadInitMakesProcessFail)
{
    TScalerPtr scaler(Braskel_CreateFrameScaler());
    ASSERT_NE(scaler, nullptr);
    const std::vector<uint8_t> frame = MakeSourceFrame(160, 120, 0);
    EXPECT_EQ(scaler->Process(frame.data()), 0); // Before any Init.
    EXPECT_EQ(scaler->GetOutput(), nullptr);
    for (const InitCase& bad : kBadInits) {
        SCOPED_TRACE(bad.Name);
        // A good Init first: the bad one must make the scaler forget it.
        ASSERT_EQ(scaler->Init(160, 120, 160, 120, 5, false, 0, 0, 0, 0, 0, 0, 0, 0), 0);
        ASSERT_NE(scaler->Process(frame.data()), 0);
        EXPECT_NE(scaler->Init(bad.OutputWidth, bad.OutputHeight, bad.SourceWidth, bad.SourceHeight, bad.ColorFormat,
                      false, bad.Left, bad.Right, bad.Top, bad.Bottom, 0, 0, 0, 0),
            0);
        EXPECT_EQ(scaler->Process(frame.data()), 0);
        EXPECT_EQ(scaler->GetOutput(), nullptr);
    }
    ASSERT_EQ(scaler->Init(160, 120, 160, 120, 5, false, 0, 0, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(scaler->Process(nullptr), 0);
}

TEST(FrameScaler, SameSizeIsAnExactCopy)
{
    TScalerPtr scaler(Braskel_CreateFrameScaler());
    const std::vector<uint8_t> frame = MakeSourceFrame(175, 143, 9);
    ASSERT_EQ(scaler->Init(175, 143, 175, 143, 5, true, 0, 0, 0, 0, 1, 2, 3, 4), 0);
    ASSERT_NE(scaler->Process(frame.data()), 0);
    ASSERT_NE(scaler->GetOutput(), nullptr);
    EXPECT_EQ(std::vector<uint8_t>(scaler->GetOutput(), scaler->GetOutput() + frame.size()), frame);
}

TEST(FrameScaler, CropsScalesAndFits)
{
    struct FitCase {
        const char* Name;
        int OutputWidth, OutputHeight, SourceWidth, SourceHeight, ColorFormat;
        bool Fit;
        int Left, Right, Top, Bottom;
        std::vector<std::pair<int, int>> Red, Grey, Black;
    };
    const FitCase kCases[] = {
        { "the Real size of a 722x578 source", 720, 576, 722, 578, 5, false, 0, 0, 0, 0, { { 360, 2 } },
            { { 360, 288 } }, {} },
        { "a top crop of 8 takes the red band away", 160, 120, 160, 120, 5, false, 0, 0, 8, 0, {},
            { { 80, 0 }, { 80, 60 } }, {} },
        { "a 4:3 picture in a wide frame is pillarboxed", 320, 120, 160, 120, 5, true, 0, 0, 0, 0, { { 160, 2 } },
            { { 160, 60 } }, { { 0, 60 }, { 79, 60 }, { 240, 60 }, { 319, 119 } } },
        { "a wide picture in a 4:3 frame is letterboxed", 160, 120, 192, 108, 5, true, 0, 0, 0, 0, { { 80, 16 } },
            { { 80, 60 } }, { { 80, 0 }, { 80, 13 }, { 80, 106 }, { 80, 119 } } },
        { "the crop decides the picture's shape", 160, 120, 240, 120, 5, true, 40, 40, 0, 0, { { 80, 2 } },
            { { 80, 60 } }, {} },
        { "a BGRA source arrives bottom-up and comes out upright", 160, 120, 160, 120, 3, false, 0, 0, 0, 0,
            { { 80, 2 } }, { { 80, 60 } }, {} },
        { "an RGB565 source too", 80, 60, 160, 120, 1, false, 0, 0, 0, 0, { { 40, 1 } }, { { 40, 30 } }, {} },
        { "code 4 has its chroma planes swapped", 160, 120, 160, 120, 4, false, 0, 0, 0, 0, { { 80, 2 } },
            { { 80, 60 } }, {} },
    };
    QuietMediaLogs();
    for (const FitCase& test : kCases) {
        SCOPED_TRACE(test.Name);
        TScalerPtr scaler(Braskel_CreateFrameScaler());
        const std::vector<uint8_t> frame = MakeSourceFrame(test.SourceWidth, test.SourceHeight, 3, test.ColorFormat);
        ASSERT_EQ(scaler->Init(test.OutputWidth, test.OutputHeight, test.SourceWidth, test.SourceHeight,
                      test.ColorFormat, test.Fit, test.Left, test.Right, test.Top, test.Bottom, 0, 0, 0, 0),
            0);
        ASSERT_NE(scaler->Process(frame.data()), 0);
        const uint8_t* out = scaler->GetOutput();
        ASSERT_NE(out, nullptr);
        for (const auto& [x, y] : test.Red)
            EXPECT_TRUE(IsRed(At(out, test.OutputWidth, test.OutputHeight, x, y))) << x << "," << y;
        for (const auto& [x, y] : test.Grey)
            EXPECT_TRUE(IsGrey(At(out, test.OutputWidth, test.OutputHeight, x, y))) << x << "," << y;
        for (const auto& [x, y] : test.Black)
            EXPECT_TRUE(IsBlack(At(out, test.OutputWidth, test.OutputHeight, x, y))) << x << "," << y;
        // The same buffer serves the next frame.
        ASSERT_NE(scaler->Process(frame.data()), 0);
        EXPECT_EQ(scaler->GetOutput(), out);
    }
}
