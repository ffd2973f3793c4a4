// The paint box and the image control on the headless display: buffer sizing and staleness, the scale modes and
// alignments, the mapping, the paint stages, PaintTo, and the mouse events with the layer under the mouse.
#include "framework/core/TList.h"
#include "imaging/Img32.h"
#include "imaging/TImage32.h"
#include "imaging/TLayerCollection.h"
#include "imaging/TPaintBox32.h"
#include "tests/imaging/ImagingControlsTestSupport.h"

#include <string>
#include <vector>

namespace {

// Counts the renders of the buffer.
class TCountingImage : public TImage32 {
public:
    using TImage32::TImage32;
    int Renders = 0;

protected:
    void DoPaintBuffer() override
    {
        ++Renders;
        TImage32::DoPaintBuffer();
    }
};

// A layer that records what reaches it.
class TProbeLayer : public TPositionedLayer {
public:
    TProbeLayer(TLayerCollection* collection, std::vector<std::string>* log, std::string name)
        : TPositionedLayer(collection)
        , FLog(log)
        , FName(std::move(name))
    {
    }

protected:
    void MouseDown(TMouseButton, TShiftState, int x, int y) override
    {
        FLog->push_back(FName + ":Down(" + std::to_string(x) + "," + std::to_string(y) + ")");
    }
    void MouseMove(TShiftState, int x, int y) override
    {
        FLog->push_back(FName + ":Move(" + std::to_string(x) + "," + std::to_string(y) + ")");
    }
    void MouseUp(TMouseButton, TShiftState, int x, int y) override
    {
        FLog->push_back(FName + ":Up(" + std::to_string(x) + "," + std::to_string(y) + ")");
    }

private:
    std::vector<std::string>* FLog;
    std::string FName;
};

constexpr TColor32 kRed = 0xFFFF0000;
constexpr TColor32 kGreen = 0xFF00FF00;
constexpr TColor32 kBlue = 0xFF0000FF;
constexpr TColor32 kWhite = 0xFFFFFFFF;

// A 2 x 2 bitmap: red, green on the first row, blue, white on the second.
void FourColours(TBitmap32* bitmap)
{
    bitmap->SetSize(2, 2);
    bitmap->SetPixel(0, 0, kRed);
    bitmap->SetPixel(1, 0, kGreen);
    bitmap->SetPixel(0, 1, kBlue);
    bitmap->SetPixel(1, 1, kWhite);
    bitmap->Changed();
}

} // namespace

TEST_F(ImagingControlsTest, TheBufferGrowsWithRoomToSpareAndShrinksOnlyPastTheOversize)
{
    auto* box = new TPaintBox32(Form);
    EXPECT_EQ(box->Width(), 192);
    EXPECT_EQ(box->Height(), 192);
    box->ResizeBuffer();
    EXPECT_EQ(box->Buffer()->Width(), 232);
    EXPECT_EQ(box->Buffer()->Height(), 232);

    struct Case {
        int viewportWidth;
        int bufferWidth;
    };
    for (const Case c : { Case { 300, 340 }, Case { 340, 340 }, Case { 320, 340 }, Case { 299, 299 },
             Case { 341, 381 } }) {
        box->Buffer()->SetSize(340, 232);
        box->SetBounds(0, 0, c.viewportWidth, 192);
        box->ResizeBuffer();
        EXPECT_EQ(box->Buffer()->Width(), c.bufferWidth) << "viewport " << c.viewportWidth;
        EXPECT_EQ(box->Buffer()->Height(), 232);
    }
    box->SetBufferOversize(-3);
    EXPECT_EQ(box->BufferOversize(), 0);
}

TEST_F(ImagingControlsTest, APaintBoxRendersOnEveryPaintAnImageOnlyWhenStale)
{
    auto* box = Place<TPaintBox32>(10, 10, 50, 40);
    int boxRenders = 0;
    box->OnPaintBuffer = [&](TObject*) {
        ++boxRenders;
        box->Buffer()->Clear(kGreen);
    };
    auto* image = Place<TCountingImage>(100, 10, 60, 40);
    image->SetColor(clBlue);
    // A paint the window system asks for (part of the window uncovered, say), without Invalidate.
    auto paint = [&](TWinControl* control) {
        InvalidateRect(control->Handle(), nullptr, FALSE);
        UpdateWindow(control->Handle());
    };
    paint(box);
    paint(image);
    const int boxBefore = boxRenders;
    const int imageBefore = image->Renders;
    paint(box);
    paint(image);
    EXPECT_EQ(boxRenders, boxBefore + 1);
    EXPECT_EQ(image->Renders, imageBefore) << "nothing changed, so the buffer is only copied again";
    EXPECT_EQ(At(10, 10), kGreen);
    EXPECT_EQ(At(59, 49), kGreen);
    EXPECT_EQ(At(60, 50), 0xFFFF0000u) << "the form around the box";
    EXPECT_EQ(At(130, 30), kBlue);

    // A change of the bitmap's pixels renders once at the next paint.
    FourColours(image->Bitmap());
    Pump();
    paint(image);
    EXPECT_EQ(image->Renders, imageBefore + 1);
    EXPECT_EQ(At(100, 10), kRed);
    EXPECT_EQ(At(101, 11), kWhite);
    EXPECT_EQ(At(102, 10), kBlue) << "the uncovered part in the control's colour";
}

TEST_F(ImagingControlsTest, EachScaleModeAndAlignmentPlacesTheBitmapWhereItBelongs)
{
    auto* image = Place<TImage32>(0, 0, 300, 300);
    struct Case {
        const char* name;
        int controlWidth, controlHeight, bitmapWidth, bitmapHeight;
        TScaleMode mode;
        TBitmapAlign align;
        float scale;
        TRect expected;
    };
    const Case cases[] = {
        { "resize, centred, wide bitmap", 300, 300, 100, 50, smResize, baCenter, 1, { 0, 75, 300, 225 } },
        { "resize, small bitmap grows", 300, 200, 30, 30, smResize, baTopLeft, 1, { 0, 0, 200, 200 } },
        { "normal, centred", 201, 201, 100, 100, smNormal, baCenter, 1, { 50, 50, 150, 150 } },
        { "normal, centred, larger than the control", 201, 201, 300, 300, smNormal, baCenter, 1,
            { -49, -49, 251, 251 } },
        { "scale 0.5, halves to even", 300, 300, 5, 3, smScale, baTopLeft, 0.5f, { 0, 0, 2, 2 } },
        { "stretch", 120, 80, 5, 3, smStretch, baCenter, 1, { 0, 0, 120, 80 } },
        { "tile", 120, 80, 5, 3, smNormal, baTile, 1, { 0, 0, 5, 3 } },
    };
    for (const Case& c : cases) {
        image->SetBounds(0, 0, c.controlWidth, c.controlHeight);
        image->Bitmap()->SetSize(c.bitmapWidth, c.bitmapHeight);
        image->SetScaleMode(c.mode);
        image->SetBitmapAlign(c.align);
        image->SetScale(c.scale);
        const TRect r = image->GetBitmapRect();
        EXPECT_EQ(r.Left, c.expected.Left) << c.name;
        EXPECT_EQ(r.Top, c.expected.Top) << c.name;
        EXPECT_EQ(r.Right, c.expected.Right) << c.name;
        EXPECT_EQ(r.Bottom, c.expected.Bottom) << c.name;
    }
    // A custom place rounds the offsets halves to even.
    image->SetScaleMode(smNormal);
    image->SetBitmapAlign(baCustom);
    image->SetOffsetHorz(10.5f);
    image->SetOffsetVert(-3.5f);
    EXPECT_EQ(image->GetBitmapRect().Left, 10);
    EXPECT_EQ(image->GetBitmapRect().Top, -4);
    image->Bitmap()->SetSize(0, 0);
    EXPECT_EQ(image->GetBitmapRect().Right, 0);
}

TEST_F(ImagingControlsTest, PixelsOnTheWindowFollowTheModes)
{
    auto* image = Place<TImage32>(0, 0, 100, 60);
    image->SetColor(clBlack);
    FourColours(image->Bitmap());
    image->SetScaleMode(smStretch);
    image->Repaint();
    EXPECT_EQ(At(10, 10), kRed);
    EXPECT_EQ(At(90, 10), kGreen);
    EXPECT_EQ(At(10, 50), kBlue);
    EXPECT_EQ(At(99, 59), kWhite);

    // Tiled: copies of the 2 x 2 bitmap cover the whole control.
    image->SetScaleMode(smNormal);
    image->SetBitmapAlign(baTile);
    image->Repaint();
    EXPECT_EQ(At(98, 58), kRed);
    EXPECT_EQ(At(99, 59), kWhite);

    // Centred at its own size on the control's colour.
    image->SetBitmapAlign(baCenter);
    image->Repaint();
    EXPECT_EQ(At(49, 29), kRed);
    EXPECT_EQ(At(50, 30), kWhite);
    EXPECT_EQ(At(48, 29), 0xFF000000u);
    EXPECT_EQ(At(0, 0), 0xFF000000u);
}

TEST_F(ImagingControlsTest, TheMappingTruncatesTowardZeroAndDoesNotOverflow)
{
    auto* image = Place<TImage32>(0, 0, 200, 200);
    image->Bitmap()->SetSize(10, 10);
    image->SetScaleMode(smScale);
    image->SetBitmapAlign(baCustom);
    image->SetOffsetHorz(20);
    image->SetScale(2);
    const TImageMapping& m = image->Mapping();
    EXPECT_EQ(m.ScaleX, 131072);
    EXPECT_EQ(m.InverseScaleX, 32768);
    EXPECT_EQ(m.OriginX, 20);
    EXPECT_EQ(image->ControlToBitmap(TPoint { 19, 0 }).X, 0);
    EXPECT_EQ(image->ControlToBitmap(TPoint { 18, 0 }).X, -1);
    EXPECT_EQ(image->BitmapToControl(TPoint { 3, 4 }).X, 26);
    EXPECT_EQ(image->BitmapToControl(TPoint { 3, 4 }).Y, 8);
    // Far out, 32-bit products would overflow; the result is still exact.
    image->SetScale(10);
    EXPECT_EQ(image->BitmapToControl(TPoint { 100000, 0 }).X, 1000020);
    // The inverse scale is 6554 / 65536 for 0.1: the fixed-point answer, not an overflowed one.
    EXPECT_EQ(image->ControlToBitmap(TPoint { 1000020, 0 }).X, 100006);
}

TEST_F(ImagingControlsTest, WritesRepaintAsTheirTableSays)
{
    auto* image = Place<TImage32>(0, 0, 50, 50);
    int changes = 0;
    image->OnChange = [&](TObject*) { ++changes; };
    image->SetBitmapAlign(image->BitmapAlign());
    EXPECT_EQ(changes, 1) << "the alignment repaints also with its current value";
    image->SetScaleMode(image->ScaleMode());
    image->SetOffsetHorz(image->OffsetHorz());
    EXPECT_EQ(changes, 1);
    image->SetScale(0);
    EXPECT_FLOAT_EQ(image->Scale(), 0.001f);
    EXPECT_EQ(changes, 2);
    image->BeginUpdate();
    image->Bitmap()->SetSize(4, 4);
    image->Bitmap()->Clear(kRed);
    image->EndUpdate();
    EXPECT_EQ(changes, 2) << "inside an update nothing fires, and EndUpdate does not catch up";
    image->SetOnPixelCombine([](TColor32, TColor32&, TColor32) {});
    EXPECT_EQ(changes, 3);
    EXPECT_THROW(image->EndUpdate(), EAssertionFailed);
}

TEST_F(ImagingControlsTest, StagesRunByTheirFlagsAndUnknownCodesDoNothing)
{
    auto* image = Place<TImage32>(0, 0, 40, 40);
    image->SetColor(clBlue);
    TPaintStages* stages = image->PaintStages();
    ASSERT_EQ(stages->Count(), 5);
    EXPECT_EQ(stages->Items(4)->Code, stageDrawLayers);
    EXPECT_EQ(stages->Items(4)->Param, loVisible);
    EXPECT_THROW(stages->Delete(5), EListError);
    EXPECT_EQ(stages->Count(), 5);

    stages->Clear();
    std::vector<uint32_t> seen;
    image->OnPaintStage = [&](TObject*, TBitmap32*, uint32_t stageNum) { seen.push_back(stageNum); };
    PPaintStage never = stages->Add();
    *never = TPaintStage { false, false, stageCustom, 0 };
    stages->Add()->Code = 9;
    stages->Add()->Code = 0;
    stages->Add()->Code = stageCustom;
    stages->Insert(-4)->Code = stageClearBuffer;
    image->Repaint();
    EXPECT_EQ(seen, std::vector<uint32_t> { 4 });
    EXPECT_EQ(At(20, 20), kBlue);

    TBitmap32 target;
    target.SetSize(8, 8);
    target.Clear(kRed);
    seen.clear();
    image->PaintTo(&target, TRect { 0, 0, 8, 8 });
    EXPECT_EQ(seen, std::vector<uint32_t> { 4 }) << "a stage with both flags false never runs";
    EXPECT_EQ(target.Pixel(3, 3), kBlue);
}

TEST_F(ImagingControlsTest, PaintToFitsTheBitmapIntoTheTargetRectangle)
{
    auto* image = Place<TImage32>(0, 0, 40, 40);
    image->SetColor(clBlack);
    FourColours(image->Bitmap());
    TBitmap32 target;
    target.SetSize(20, 20);
    target.Clear(kGreen);
    image->PaintTo(&target, TRect { 10, 10, 20, 20 });
    EXPECT_EQ(target.Pixel(10, 10), kRed);
    EXPECT_EQ(target.Pixel(19, 19), kWhite);
    EXPECT_EQ(target.Pixel(14, 15), kBlue);
    EXPECT_FALSE(image->PaintingTo());
    // The control's own mapping is worked out again afterwards.
    EXPECT_EQ(image->Mapping().OriginX, 0);
    EXPECT_EQ(image->Mapping().ScaleX, 65536);
}

TEST_F(ImagingControlsTest, MouseEventsCarryTheLayerThatTookThemInPaintOrder)
{
    auto* image = Place<TImage32>(20, 20, 100, 100);
    std::vector<std::string> log;
    auto* bottom = new TProbeLayer(image->Layers(), &log, "bottom");
    bottom->SetLocation(TFloatRect { 0, 0, 60, 60 });
    auto* top = new TProbeLayer(image->Layers(), &log, "top");
    top->SetLocation(TFloatRect { 40, 40, 100, 100 });
    std::vector<std::string> events;
    auto name = [&](TCustomLayer* layer) {
        return std::string(layer == top ? "top" : layer == bottom ? "bottom" : "none");
    };
    image->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y, TCustomLayer* layer) {
        events.push_back("down " + std::to_string(x) + "," + std::to_string(y) + " " + name(layer));
    };
    image->OnMouseMove = [&](TObject*, TShiftState, int, int, TCustomLayer* layer) {
        events.push_back("move " + name(layer));
    };
    image->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int, TCustomLayer* layer) {
        events.push_back("up " + name(layer));
    };

    // The overlap belongs to the top layer, which then listens until the release, wherever the mouse goes.
    Press(70, 70);
    EXPECT_TRUE(image->MouseCapture());
    EXPECT_EQ(image->Layers()->MouseListener(), top);
    MoveTo(30, 30);
    Release();
    EXPECT_FALSE(image->MouseCapture());
    EXPECT_EQ(image->Layers()->MouseListener(), nullptr);
    const std::vector<std::string> expected
        = { "top:Down(50,50)", "top:Move(10,10)", "top:Up(10,10)" };
    EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()), expected);
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events[events.size() - 3], "down 50,50 top");
    EXPECT_EQ(events.back(), "up top");

    // With the layers' mouse events off the image reports no layer.
    log.clear();
    image->Layers()->SetMouseEvents(false);
    Press(30, 30);
    Release();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(events.back(), "up none");
}

TEST_F(ImagingControlsTest, AutoSizeFollowsTheScaledBitmap)
{
    auto* image = Place<TImage32>(5, 5, 50, 50);
    image->SetScaleMode(smScale);
    image->SetScale(2);
    int resizes = 0;
    image->OnBitmapResize = [&](TObject*) { ++resizes; };
    image->SetAutoSize(true);
    image->Bitmap()->SetSize(30, 20);
    EXPECT_EQ(image->Width(), 60);
    EXPECT_EQ(image->Height(), 40);
    EXPECT_GE(resizes, 1);
}

TEST_F(ImagingControlsTest, SystemColoursComeFromTheWindowLayer)
{
    EXPECT_EQ(Img32::Color32(clBtnFace), 0xFF000000u | ((GetSysColor(COLOR_BTNFACE) & 0xFF) << 16)
            | (GetSysColor(COLOR_BTNFACE) & 0xFF00) | ((GetSysColor(COLOR_BTNFACE) >> 16) & 0xFF));
    EXPECT_EQ(Img32::Color32(clScrollBar), 0xFFD4D0C8u);
}

TEST_F(ImagingControlsTest, ACoveringBitmapGoesStraightToTheWindowWithTheSamePixels)
{
    auto* image = Place<TCountingImage>(0, 0, 40, 30);
    image->Bitmap()->SetSize(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            image->Bitmap()->SetPixel(x, y, 0xFF000000u | uint32_t(x * 5 << 16) | uint32_t(y * 7));
    image->Bitmap()->Changed();
    const int renders = image->Renders;
    image->Repaint();
    EXPECT_EQ(image->Renders, renders) << "nothing but the bitmap to show: no render into the buffer";
    EXPECT_EQ(At(39, 29), 0xFF000000u | (39 * 5 << 16) | (29 * 7));
    EXPECT_EQ(At(3, 4), 0xFF000000u | (3 * 5 << 16) | (4 * 7));
    // A flush after such a paint renders the buffer first, so it never shows stale pixels.
    image->Flush();
    EXPECT_EQ(image->Renders, renders + 1);
    EXPECT_EQ(image->Buffer()->Pixel(39, 29), image->Bitmap()->Pixel(39, 29));

    // A visible layer or a blended bitmap takes the buffer again.
    image->Bitmap()->SetDrawMode(dmBlend);
    image->Repaint();
    EXPECT_EQ(image->Renders, renders + 2);
    EXPECT_EQ(At(39, 29), 0xFF000000u | (39 * 5 << 16) | (29 * 7));
}
