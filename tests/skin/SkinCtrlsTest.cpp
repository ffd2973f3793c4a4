// The skinned control roots and the resizable skinned controls on the headless display: record binding, the
// default look, the skin going first, blending over the parent, the resize modes and the rectangle mapping,
// with pixels read back from the form's window.
#include "framework/graphics/TBitmap.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/TspSkinData.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/framework/ControlsTestSupport.h"

#include <cmath>

namespace {

constexpr uint32_t kSeed = 3;

uint32_t Rgb(TColor color)
{
    const uint32_t c = static_cast<uint32_t>(ColorToRGB(color));
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// Exposes what the tests look at and counts the two looks.
template <class Base> class TProbe : public Base {
public:
    using Base::Base;
    using Base::CalcSize;
    using Base::SizedClientRect;
    using Base::SizedRightTopPoint;
    using Base::SkinResizeMode;
    int DefaultPaints = 0;
    int SkinPaints = 0;

protected:
    void CreateControlDefaultImage(TBitmap* bitmap) override
    {
        ++DefaultPaints;
        Base::CreateControlDefaultImage(bitmap);
    }
    void CreateControlSkinImage(TBitmap* bitmap) override
    {
        ++SkinPaints;
        Base::CreateControlSkinImage(bitmap);
    }
};
using TWindowedProbe = TProbe<TspSkinCustomControl>;
using TGraphicProbe = TProbe<TspGraphicSkinCustomControl>;

// A parent offering the skinned tool bar's layout.
class TToolBarParent : public TCustomControl, public TspSkinToolBarLayout {
public:
    using TCustomControl::TCustomControl;
    bool Adjust = true;
    bool AdjustControls() const override { return Adjust; }
    TRect GetSkinClientRect() const override { return Rect(0, 4, 200, 36); }
};

class SkinCtrlsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Fixture.AddActivePicture("controls.bmp", 120, 80, kSeed);
        Fixture.AddActivePicture("mask.bmp", 30, 20, 9);
        // Fixed size: the picture's (10, 5, 40, 25).
        Fixture.AddControl("fixed", "label", { { "pictureindex", "0" }, { "skinrect", "10,5,40,25" } });
        // Nine parts: 60 x 40 at (0, 30), corners 8 pixels.
        Fixture.AddControl("nine", "label",
            { { "pictureindex", "0" }, { "skinrect", "0,30,60,70" }, { "lefttoppoint", "8,8" },
                { "righttoppoint", "52,8" }, { "leftbottompoint", "8,32" }, { "rightbottompoint", "52,32" },
                { "clientrect", "8,8,52,32" } });
        Fixture.AddControl("horizontal", "label",
            { { "pictureindex", "0" }, { "skinrect", "0,0,50,20" }, { "lefttoppoint", "5,0" },
                { "righttoppoint", "45,0" }, { "clientrect", "5,2,45,18" } });
        Fixture.AddControl("vertical", "label",
            { { "pictureindex", "0" }, { "skinrect", "60,0,80,50" }, { "lefttoppoint", "0,5" },
                { "leftbottompoint", "0,45" }, { "clientrect", "2,5,18,45" } });
        Fixture.AddControl("masked", "label",
            { { "pictureindex", "0" }, { "maskpictureindex", "1" }, { "skinrect", "10,5,40,25" } });
        Fixture.AddControl("bevel", "bevel", { { "lightcolor", "255" } });
        Skin = new TspSkinData(Application);
        Skin->LoadFromFile(Fixture.Write());
        ASSERT_FALSE(Skin->Empty);
        Form = NewForm(0, 0, 300, 200);
        Form->SetColor(clRed);
        Form->Show();
        Pump();
    }

    template <class T> T* Place(const char* skinName, int left, int top, int width, int height)
    {
        auto* control = new T(Form);
        control->SetBounds(left, top, width, height);
        control->SetParent(Form);
        control->SetSkinDataName(skinName);
        control->SetSkinData(Skin);
        Pump();
        return control;
    }

    uint32_t At(int x, int y) { return Backend.WindowPixel(Form->Handle(), x, y); }
    static uint32_t Picture(int x, int y) { return TFixtureSkin::PixelOf(x, y, kSeed); }

    TFixtureSkin Fixture;
    TspSkinData* Skin = nullptr;
    TForm* Form = nullptr;
};

} // namespace

TEST_F(SkinCtrlsTest, AnUnknownNameDrawsTheDefaultLookAndARenameBindsAtTheNextPaint)
{
    auto* control = Place<TWindowedProbe>("missing", 20, 20, 30, 20);
    EXPECT_EQ(control->GetSkinIndex(), -1);
    EXPECT_EQ(At(25, 25), Rgb(clBtnFace));
    const int paints = control->DefaultPaints + control->SkinPaints;
    control->SetSkinDataName("fixed");
    EXPECT_EQ(control->DefaultPaints + control->SkinPaints, paints) << "a rename alone neither looks up nor paints";
    control->Repaint();
    Pump();
    EXPECT_EQ(control->GetSkinIndex(), Skin->GetControlIndex("fixed"));
    EXPECT_EQ(At(20, 20), Picture(10, 5));
    EXPECT_EQ(At(49, 39), Picture(39, 24));
    // A record of the same name but another letter case is not the control's.
    control->SetSkinDataName("Fixed");
    control->Repaint();
    Pump();
    EXPECT_EQ(At(25, 25), Rgb(clBtnFace));
}

TEST_F(SkinCtrlsTest, BeforeASkinChangeAndWithoutDefaultLookTheControlShowsNoSkin)
{
    auto* control = Place<TGraphicProbe>("fixed", 20, 20, 10, 10);
    EXPECT_EQ(control->Width(), 30) << "a fixed skin sizes the control to its rectangle";
    EXPECT_EQ(At(21, 21), Picture(11, 6));
    control->BeforeChangeSkinData();
    EXPECT_EQ(control->GetSkinIndex(), -1);

    control->SetSkinDataName("missing");
    control->SetDrawDefault(false);
    const int defaults = control->DefaultPaints;
    control->Repaint();
    Pump();
    EXPECT_EQ(control->DefaultPaints, defaults);
    TBitmap blank;
    blank.SetSize(1, 1);
    const TColor blankColor = blank.Canvas()->Pixels(0, 0);
    EXPECT_EQ(At(25, 25), Rgb(blankColor)) << "the off-screen bitmap as it was created";
}

TEST_F(SkinCtrlsTest, FreeingTheSkinFirstLeavesAWorkingDefaultLook)
{
    auto* windowed = Place<TWindowedProbe>("fixed", 20, 20, 30, 20);
    auto* graphic = Place<TGraphicProbe>("fixed", 100, 20, 30, 20);
    EXPECT_EQ(At(20, 20), Picture(10, 5));
    delete Skin;
    Skin = nullptr;
    EXPECT_EQ(windowed->SkinData(), nullptr);
    EXPECT_EQ(graphic->SkinData(), nullptr);
    windowed->Repaint();
    graphic->Repaint();
    Pump();
    EXPECT_EQ(At(20, 20), Rgb(clBtnFace));
    EXPECT_EQ(At(100, 20), Rgb(clBtnFace));
}

TEST_F(SkinCtrlsTest, AlphaBlendMixesTheControlImageWithWhatLiesBehindIt)
{
    auto* control = Place<TGraphicProbe>("missing", 20, 20, 30, 20);
    const uint32_t face = Rgb(clBtnFace);
    const uint32_t back = Rgb(clRed);
    auto expected = [&](int value) {
        const double kf = 1.0 - value / 255.0;
        uint32_t result = 0;
        for (int shift : { 0, 8, 16 }) {
            const double mixed = (1 - kf) * ((face >> shift) & 0xFF) + kf * ((back >> shift) & 0xFF);
            result |= static_cast<uint32_t>(std::nearbyint(mixed)) << shift;
        }
        return result;
    };
    control->SetAlphaBlend(true);
    for (int value : { 255, 0, 200, 128, 1 }) {
        SCOPED_TRACE(value);
        control->SetAlphaBlendValue(static_cast<uint8_t>(value));
        Pump();
        EXPECT_EQ(At(30, 30), expected(value));
    }
    EXPECT_EQ(expected(255), face);
    EXPECT_EQ(expected(0), back);
}

TEST_F(SkinCtrlsTest, MovingRepaintsOnlyABlendedControl)
{
    for (bool blended : { false, true }) {
        SCOPED_TRACE(blended);
        auto* graphic = Place<TGraphicProbe>("missing", 20, 20, 30, 20);
        auto* windowed = Place<TWindowedProbe>("missing", 20, 100, 30, 20);
        graphic->SetAlphaBlend(blended);
        windowed->SetAlphaBlend(blended);
        Pump();
        const int graphicPaints = graphic->DefaultPaints;
        const int windowedPaints = windowed->DefaultPaints;
        // Repainting is synchronous: what the move itself painted shows before any message is served.
        graphic->SetLeft(60);
        windowed->SetLeft(60);
        EXPECT_EQ(graphic->DefaultPaints > graphicPaints, blended);
        EXPECT_EQ(windowed->DefaultPaints > windowedPaints, blended);
        delete graphic;
        delete windowed;
    }
}

TEST_F(SkinCtrlsTest, TheParentBackgroundNoticeReachesChildrenOnlyThroughABlendedControl)
{
    auto* parent = Place<TWindowedProbe>("missing", 10, 10, 200, 150);
    auto* child = new TGraphicProbe(Form);
    child->SetBounds(5, 5, 20, 20);
    child->SetParent(parent);
    child->SetAlphaBlend(true);
    Pump();
    const int before = child->DefaultPaints;
    SendMessage(parent->Handle(), WM_CHECKPARENTBG, 0, 0);
    EXPECT_EQ(child->DefaultPaints, before);
    parent->SetAlphaBlend(true);
    const int blendedBefore = child->DefaultPaints;
    SendMessage(parent->Handle(), WM_CHECKPARENTBG, 0, 0);
    EXPECT_GT(child->DefaultPaints, blendedBefore);
}

TEST_F(SkinCtrlsTest, EachResizeModeKeepsTheSizeTheSkinAllows)
{
    struct Case {
        const char* skin;
        int mode;
        int width, height; // after asking for 100 x 70
    };
    const Case kCases[] = {
        { "fixed", 0, 30, 20 },
        { "nine", 1, 100, 70 },
        { "horizontal", 2, 100, 20 },
        { "vertical", 3, 20, 70 },
        { "missing", 0, 100, 70 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.skin);
        auto* control = Place<TWindowedProbe>(c.skin, 0, 0, 40, 40);
        control->SetBounds(5, 6, 100, 70);
        EXPECT_EQ(control->Width(), c.width);
        EXPECT_EQ(control->Height(), c.height);
        EXPECT_EQ(control->Left(), 5);
        if (std::string(c.skin) != "missing") {
            EXPECT_EQ(control->SkinResizeMode, c.mode);
        }
        // The same size again neither repaints nor rebuilds anything.
        Pump();
        const int paints = control->DefaultPaints + control->SkinPaints;
        control->SetBounds(7, 6, control->Width(), control->Height());
        EXPECT_EQ(control->DefaultPaints + control->SkinPaints, paints);
        delete control;
    }
}

TEST_F(SkinCtrlsTest, ANinePartControlComposesItsCornersAtAnySizeEvenBelowTheSkin)
{
    auto* control = Place<TGraphicProbe>("nine", 10, 10, 100, 70);
    EXPECT_EQ(At(10, 10), Picture(0, 30));
    EXPECT_EQ(At(109, 79), Picture(59, 69));
    EXPECT_EQ(At(109, 10), Picture(59, 30));
    EXPECT_EQ(control->SizedClientRect.Right, 92);
    control->SetBounds(10, 10, 50, 40);
    EXPECT_EQ(control->SizedRightTopPoint.X, 52 - 10) << "no minimum: the point moves by the shortfall";
    Pump();
    EXPECT_EQ(At(10, 10), Picture(0, 30));
}

TEST_F(SkinCtrlsTest, GetNewRectMapsRecordRectanglesByTheirZone)
{
    auto* nine = Place<TGraphicProbe>("nine", 0, 0, 100, 70); // XO 40, YO 30
    auto* horizontal = Place<TGraphicProbe>("horizontal", 0, 0, 90, 20); // XO 40
    auto* vertical = Place<TGraphicProbe>("vertical", 0, 0, 20, 80); // YO 30
    struct Case {
        TspGraphicSkinCustomControl* control;
        TRect in, out;
    };
    const Case kCases[] = {
        { nine, Rect(1, 1, 5, 5), Rect(1, 1, 5, 5) }, // left-top corner
        { nine, Rect(53, 1, 58, 5), Rect(93, 1, 98, 5) }, // right-top
        { nine, Rect(1, 33, 5, 38), Rect(1, 63, 5, 68) }, // left-bottom
        { nine, Rect(53, 33, 58, 38), Rect(93, 63, 98, 68) }, // right-bottom
        { nine, Rect(2, 2, 55, 35), Rect(2, 2, 95, 65) }, // stretched both ways
        { nine, Rect(2, 2, 55, 6), Rect(2, 2, 95, 6) }, // along the top
        // Right edge on the skin's width: not inside the right-top zone, so the corner tests apply.
        { nine, Rect(54, 1, 60, 5), Rect(54, 1, 60, 5) },
        { nine, Rect(20, 20, 30, 25), Rect(20, 20, 30, 25) }, // the middle stays
        { horizontal, Rect(2, 2, 48, 18), Rect(2, 2, 88, 18) },
        { horizontal, Rect(46, 2, 49, 18), Rect(86, 2, 89, 18) },
        { horizontal, Rect(10, 2, 20, 18), Rect(10, 2, 20, 18) },
        { vertical, Rect(2, 2, 18, 48), Rect(2, 2, 18, 78) },
        { vertical, Rect(2, 46, 18, 49), Rect(2, 76, 18, 79) },
    };
    for (const Case& c : kCases) {
        const TRect got = c.control->GetNewRect(c.in);
        EXPECT_EQ(got, c.out) << c.in.Left << "," << c.in.Top << "," << c.in.Right << "," << c.in.Bottom;
    }
}

TEST_F(SkinCtrlsTest, OnAnAdjustingToolBarTheTopIsCentred)
{
    auto* bar = new TToolBarParent(Form);
    bar->SetBounds(0, 0, 200, 40);
    bar->SetParent(Form);
    auto* control = new TWindowedProbe(Form);
    control->SetParent(bar);
    control->SetBounds(3, 99, 30, 10);
    EXPECT_EQ(control->Top(), 4 + 16 - 5);
    bar->Adjust = false;
    control->SetBounds(3, 1, 30, 10);
    EXPECT_EQ(control->Top(), 1);
}

TEST_F(SkinCtrlsTest, TheMaskCutsTheWindowAndGoesWithTheRecord)
{
    auto* control = Place<TWindowedProbe>("masked", 10, 10, 30, 20);
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(control->Handle(), probe), ERROR);
    control->SetSkinDataName("fixed");
    control->ChangeSkinData();
    EXPECT_EQ(GetWindowRgn(control->Handle(), probe), ERROR);
    DeleteObject(probe);
}

TEST_F(SkinCtrlsTest, DefaultSizeAndSkinCursor)
{
    auto* control = Place<TWindowedProbe>("missing", 0, 0, 40, 40);
    control->SetDefaultWidth(70);
    EXPECT_EQ(control->Width(), 70);
    auto* skinned = Place<TWindowedProbe>("nine", 0, 0, 80, 50);
    skinned->SetDefaultWidth(33);
    EXPECT_EQ(skinned->Width(), 80) << "stored, not applied while a record is in use";
    skinned->SetCursor(crHandPoint);
    skinned->SetUseSkinCursor(true);
    skinned->ChangeSkinData();
    EXPECT_EQ(skinned->Cursor(), crDefault);
}
