// The layers of an image control: routing of presses, moves and releases to the layers, the mouse listener, the
// change notifications, the rubber band's handles, drags and limits, the bitmap layer's hit test and painting, and
// copying a collection.
#include "framework/core/Exception.h"
#include "imaging/TBitmapLayer.h"
#include "imaging/TImage32.h"
#include "imaging/TRubberbandLayer.h"
#include "tests/imaging/ImagingControlsTestSupport.h"

#include <string>
#include <vector>

namespace {

// Records what reaches a positioned layer.
class TLoggingLayer : public TPositionedLayer {
public:
    TLoggingLayer(TLayerCollection* collection, std::vector<std::string>* log, std::string name)
        : TPositionedLayer(collection)
        , FLog(log)
        , FName(std::move(name))
    {
    }

protected:
    void MouseDown(TMouseButton, TShiftState, int, int) override { FLog->push_back(FName + ":Down"); }
    void MouseMove(TShiftState, int, int) override { FLog->push_back(FName + ":Move"); }
    void MouseUp(TMouseButton, TShiftState, int, int) override { FLog->push_back(FName + ":Up"); }

private:
    std::vector<std::string>* FLog;
    std::string FName;
};

class LayersTest : public ImagingControlsTest {
protected:
    void SetUp() override
    {
        ImagingControlsTest::SetUp();
        Image = Place<TImage32>(0, 0, 200, 150);
        Layers = Image->Layers();
    }

    TLoggingLayer* AddLogging(const char* name, TFloatRect location)
    {
        auto* layer = new TLoggingLayer(Layers, &Log, name);
        layer->SetLocation(location);
        return layer;
    }

    TImage32* Image = nullptr;
    TLayerCollection* Layers = nullptr;
    std::vector<std::string> Log;
};

} // namespace

TEST_F(LayersTest, ThePressGoesToTheTopLayerAndTheListenerKeepsTheMouseUntilTheRelease)
{
    auto* lower = AddLogging("lower", TFloatRect { 0, 0, 50, 50 });
    auto* upper = AddLogging("upper", TFloatRect { 25, 25, 75, 75 });

    EXPECT_EQ(Layers->MouseDown(mbLeft, {}, 30, 30), upper);
    EXPECT_EQ(Layers->MouseListener(), upper);
    EXPECT_TRUE(upper->LayerStates().Contains(lsMouseLeft));
    EXPECT_EQ(Layers->MouseMove({}, 5, 5), upper) << "the listener takes moves outside it";
    EXPECT_EQ(Layers->MouseUp(mbLeft, {}, 5, 5), upper);
    EXPECT_EQ(Layers->MouseListener(), nullptr);
    EXPECT_EQ(Log, (std::vector<std::string> { "upper:Down", "upper:Move", "upper:Up" }));

    // Without the listener the move goes to what is under the mouse.
    Log.clear();
    EXPECT_EQ(Layers->MouseMove({}, 5, 5), lower);
    EXPECT_EQ(Layers->MouseMove({}, 150, 5), nullptr);

    // A right press with no listener finds the layer but calls nothing on it.
    EXPECT_EQ(Layers->MouseDown(mbRight, {}, 30, 30), upper);
    EXPECT_EQ(Layers->MouseListener(), nullptr);

    // A layer that does not capture is still the one hit, but gets no press.
    upper->SetLayerOptions(upper->LayerOptions() | loNoCapture);
    EXPECT_EQ(Layers->MouseDown(mbLeft, {}, 30, 30), upper);
    EXPECT_EQ(Layers->MouseListener(), nullptr);
    EXPECT_EQ(Log, (std::vector<std::string> { "lower:Move" }));

    // Without mouse events a layer is passed over.
    upper->SetMouseEvents(false);
    EXPECT_EQ(Layers->FindLayerAtPos(30, 30, loMouseEvents), lower);
}

TEST_F(LayersTest, VisibilityChangesFireHalfTheNotificationsAndIndexMovesOne)
{
    auto* a = AddLogging("a", TFloatRect { 0, 0, 10, 10 });
    auto* b = AddLogging("b", TFloatRect { 0, 0, 10, 10 });
    int changing = 0;
    int changed = 0;
    Layers->OnChanging = [&](TObject*) { ++changing; };
    Layers->OnChange = [&](TObject*) { ++changed; };
    b->SetVisible(false);
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 0) << "the layer is already invisible when Changed runs";
    b->SetVisible(true);
    EXPECT_EQ(changing, 1) << "the layer is still invisible when Changing runs";
    EXPECT_EQ(changed, 1);

    a->BringToFront();
    EXPECT_EQ(a->Index(), 1);
    EXPECT_EQ(changed, 2);
    b->SetVisible(false);
    const int before = changed;
    b->SetIndex(5);
    EXPECT_EQ(b->Index(), 1);
    EXPECT_EQ(changed, before) << "moving an invisible layer raises nothing";
    EXPECT_THROW(Layers->Delete(7), Exception);
    Layers->OnChanging = nullptr;
    Layers->OnChange = nullptr;
}

TEST_F(LayersTest, RubberBandHandlesDecideTheDrag)
{
    auto* band = new TRubberbandLayer(Layers);
    band->SetLocation(TFloatRect { 10, 10, 110, 60 });
    struct Case {
        int x, y;
        TDragState state;
    };
    for (const Case c : { Case { 108, 60, dsSizeBR }, Case { 60, 12, dsSizeT }, Case { 30, 30, dsMove },
             Case { 30, 12, dsMove }, Case { 10, 35, dsSizeL }, Case { 8, 8, dsSizeTL }, Case { 150, 30, dsNone } })
        EXPECT_EQ(band->GetDragState(c.x, c.y), c.state) << c.x << "," << c.y;
    band->SetHandles(TRBHandles { rhFrame });
    EXPECT_EQ(band->GetDragState(30, 30), dsNone);
    band->SetHandleSize(0);
    EXPECT_EQ(band->HandleSize(), 1);
    band->SetHandleSize(-5);
    EXPECT_EQ(band->HandleSize(), 1);
}

TEST_F(LayersTest, RubberBandDragsKeepTheLimitsAndMoveTheChild)
{
    auto* child = new TPositionedLayer(Layers);
    child->SetLocation(TFloatRect { 10, 10, 110, 60 });
    auto* band = new TRubberbandLayer(Layers);
    band->SetChildLayer(child);
    EXPECT_TRUE(band->LayerOptions() & loNoUpdate);
    int userChanges = 0;
    band->OnUserChange = [&](TObject*) { ++userChanges; };

    // The left edge dragged 95 pixels right stops 10 pixels short of the right edge.
    Layers->MouseDown(mbLeft, {}, 10, 35);
    Layers->MouseMove({}, 105, 35);
    Layers->MouseUp(mbLeft, {}, 105, 35);
    EXPECT_FLOAT_EQ(band->Location().Left, 100);
    EXPECT_FLOAT_EQ(child->Location().Left, 100) << "the child follows";
    EXPECT_EQ(userChanges, 1);

    // With a maximum of 50 the left edge dragged 60 pixels further left stops 50 short of the right one.
    band->SetLocation(TFloatRect { 10, 10, 110, 60 });
    band->MaxWidth = 50;
    Layers->MouseDown(mbLeft, {}, 10, 35);
    Layers->MouseMove({}, -50, 35);
    Layers->MouseUp(mbLeft, {}, -50, 35);
    EXPECT_FLOAT_EQ(band->Location().Left, 60);
    // A maximum below the minimum does not count.
    band->SetLocation(TFloatRect { 10, 10, 110, 60 });
    band->MaxWidth = 5;
    Layers->MouseDown(mbLeft, {}, 10, 35);
    Layers->MouseMove({}, -50, 35);
    Layers->MouseUp(mbLeft, {}, -50, 35);
    EXPECT_FLOAT_EQ(band->Location().Left, -50);

    // A move keeps the size; OnResizing may change the result.
    band->SetLocation(TFloatRect { 10, 10, 110, 60 });
    band->OnResizing = [](TObject*, const TFloatRect&, TFloatRect& next, TDragState state, TShiftState) {
        if (state == dsMove)
            next.Top = 0, next.Bottom = 50;
    };
    Layers->MouseDown(mbLeft, {}, 30, 30);
    Layers->MouseMove({}, 40, 45);
    Layers->MouseUp(mbLeft, {}, 40, 45);
    EXPECT_FLOAT_EQ(band->Location().Left, 20);
    EXPECT_FLOAT_EQ(band->Location().Right, 120);
    EXPECT_FLOAT_EQ(band->Location().Top, 0);

    // Destroying the child unlinks it; destroying the band leaves a child alone.
    delete child;
    EXPECT_EQ(band->ChildLayer(), nullptr);
    EXPECT_FALSE(band->LayerOptions() & loNoUpdate);
    auto* second = new TPositionedLayer(Layers);
    band->SetChildLayer(second);
    delete band;
    EXPECT_EQ(second->LayerCollection(), Layers);
    delete second;
}

TEST_F(LayersTest, TheRubberBandPaintsAStippledFrameAndHandles)
{
    auto* band = new TRubberbandLayer(Layers);
    band->SetLocation(TFloatRect { 20, 20, 80, 60 });
    TBitmap32 buffer;
    buffer.SetSize(100, 100);
    buffer.Clear(0xFF808080);
    band->DoPaint(&buffer);
    // Corner handles: white inside, black outline, written unblended.
    EXPECT_EQ(buffer.Pixel(20, 20), 0x00FFFFFFu);
    EXPECT_EQ(buffer.Pixel(17, 17), 0x00000000u);
    EXPECT_EQ(buffer.Pixel(80, 20), 0x00FFFFFFu);
    // Side handle at the middle of the top.
    EXPECT_EQ(buffer.Pixel(50, 20), 0x00FFFFFFu);
    // The frame between the handles, stippled white, white, black, black.
    const TColor32 a = buffer.Pixel(30, 20);
    const TColor32 b = buffer.Pixel(32, 20);
    EXPECT_TRUE((a == 0xFFFFFFFF && b == 0xFF000000) || (a == 0xFF000000 && b == 0xFFFFFFFF)) << std::hex << a;
    EXPECT_EQ(buffer.Pixel(40, 40), 0xFF808080u) << "the inside is left alone";
}

TEST_F(LayersTest, BitmapLayersPaintScaledAndHitByAlpha)
{
    auto* under = AddLogging("under", TFloatRect { 0, 0, 100, 100 });
    auto* layer = new TBitmapLayer(Layers);
    layer->Bitmap()->SetSize(2, 1);
    layer->Bitmap()->SetPixel(0, 0, 0xFFFF0000);
    layer->Bitmap()->SetPixel(1, 0, 0x0000FF00);
    layer->SetLocation(TFloatRect { 10, 10, 30, 20 });

    // The press over the transparent half falls through to the layer below.
    EXPECT_EQ(Layers->FindLayerAtPos(25, 15, loMouseEvents), layer);
    layer->HitByAlpha = true;
    EXPECT_EQ(Layers->FindLayerAtPos(15, 15, loMouseEvents), layer);
    EXPECT_EQ(Layers->FindLayerAtPos(25, 15, loMouseEvents), under);

    // Painted stretched into its location through the image.
    Image->SetColor(clBlack);
    Image->Repaint();
    EXPECT_EQ(At(12, 12), 0xFFFF0000u);
    EXPECT_EQ(At(25, 15), 0xFF00FF00u) << "the opaque draw mode copies the colour bytes";
    EXPECT_EQ(At(35, 15), 0xFF000000u);

    // Scaled: the location is in bitmap coordinates and follows the image's mapping.
    Image->Bitmap()->SetSize(50, 50);
    Image->SetScaleMode(smScale);
    Image->SetScale(2);
    layer->SetScaled(true);
    // The layers read the mapping the image worked out for its last render.
    Image->Repaint();
    const TFloatRect a = layer->GetAdjustedLocation();
    EXPECT_FLOAT_EQ(a.Left, 20);
    EXPECT_FLOAT_EQ(a.Bottom, 40);

    // Cropped to the image's bitmap rectangle.
    layer->SetScaled(false);
    layer->SetLocation(TFloatRect { 90, 10, 110, 20 });
    Image->SetScale(1);
    layer->SetCropped(true);
    Image->Repaint();
    EXPECT_EQ(At(95, 12), 0xFF000000u) << "outside the 50 x 50 bitmap the layer is cut off";
    (void)under;
}

TEST_F(LayersTest, CopyingACollectionThatCannotBeCopiedLeavesTheTargetAsItWas)
{
    auto* kept = AddLogging("kept", TFloatRect { 0, 0, 10, 10 });
    TLayerCollection source(nullptr);
    new TPositionedLayer(&source);
    EXPECT_THROW(Layers->Assign(&source), EConvertError);
    ASSERT_EQ(Layers->Count(), 1);
    EXPECT_EQ(Layers->Items(0), kept);
    EXPECT_THROW(Layers->SetItems(0, kept), EConvertError);

    // An empty source clears the target.
    TLayerCollection empty(nullptr);
    Image->SetLayers(&empty);
    EXPECT_EQ(Layers->Count(), 0);
}

TEST_F(LayersTest, UnpairedEndUpdateIsAnAssertion)
{
    EXPECT_THROW(Layers->EndUpdate(), EAssertionFailed);
    Layers->BeginUpdate();
}
