// The skin's image cache as the skinned controls use it, on the headless display: a repaint composes nothing
// anew, every change of what a face is made of (size, state, the skin's pictures) shows in the pixels, and the
// kept images stay within their pixel budget.
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinGauges.h"
#include "skin/controls/SkinTrackBars.h"
#include "skin/core/SkinImageCache.h"
#include "skin/core/SkinImages.h"
#include "tests/skin/SkinControlsTestSupport.h"

#include <functional>
#include <string>

namespace {

// A nine-part button record on a 120 x 40 sheet: normal, hot and pressed faces side by side in the top row, the
// disabled one below the normal one; 5-pixel borders, the left and right edges stretched, the top and bottom
// edges tiled, the middle stretched.
const TRect kNormal { 0, 0, 40, 20 };
const TRect kHot { 40, 0, 80, 20 };
const TRect kPressed { 80, 0, 120, 20 };
const TRect kDisabled { 0, 20, 40, 40 };

void WriteButtonSkin(TFixtureSkin& fixture, uint32_t seed)
{
    fixture.AddActivePicture("faces.bmp", 120, 40, seed);
    fixture.AddControl("button", "button",
        { { "pictureindex", "0" }, { "skinrect", "0,0,40,20" }, { "activeskinrect", "40,0,80,20" },
            { "downskinrect", "80,0,120,20" }, { "disabledskinrect", "0,20,40,40" }, { "lefttoppoint", "5,5" },
            { "righttoppoint", "35,5" }, { "leftbottompoint", "5,15" }, { "rightbottompoint", "35,15" },
            { "clientrect", "5,5,35,15" }, { "leftstretch", "1" }, { "topstretch", "0" }, { "rightstretch", "1" },
            { "bottomstretch", "0" }, { "stretcheffect", "1" }, { "stretchtype", "stfull" } });
    // The same faces with a caption font and colours per state.
    fixture.AddControl("captionbutton", "button",
        { { "pictureindex", "0" }, { "skinrect", "0,0,40,20" }, { "activeskinrect", "40,0,80,20" },
            { "downskinrect", "80,0,120,20" }, { "disabledskinrect", "0,20,40,40" }, { "lefttoppoint", "5,5" },
            { "righttoppoint", "35,5" }, { "leftbottompoint", "5,15" }, { "rightbottompoint", "35,15" },
            { "clientrect", "5,5,35,15" }, { "fontname", "DejaVu Sans" }, { "fontheight", "13" },
            { "fontcolor", "0" }, { "activefontcolor", "255" }, { "downfontcolor", "65280" },
            { "disabledfontcolor", "8421504" } });
}

class SkinImageCacheTest : public SkinControlsTest {
protected:
    void SetUp() override
    {
        SkinControlsTest::SetUp();
        WriteButtonSkin(ButtonFixture, 5);
        ButtonSkin = new TspSkinData(Application);
        ButtonSkin->LoadFromFile(ButtonFixture.Write());
        ASSERT_FALSE(ButtonSkin->Empty);
    }

    TspSkinButton* PlaceButton(int x, int y)
    {
        auto* button = new TspSkinButton(Form);
        button->SetParent(Form);
        button->SetCaption("");
        button->SetSkinData(ButtonSkin);
        button->SetBounds(x, y, 40, 20);
        Pump();
        return button;
    }

    // The face of picture rectangle `r` at `width` by `height`, composed by the stretch helper itself.
    static void ComposeFace(TBitmap& face, TBitmap* picture, const TRect& r, int width, int height)
    {
        const int xo = width - 40;
        const int yo = height - 20;
        SPUtils::CreateSkinImage(TPoint { 5, 5 }, TPoint { 35, 5 }, TPoint { 5, 15 }, TPoint { 35, 15 },
            Rect(5, 5, 35, 15), TPoint { 5, 5 }, TPoint { 35 + xo, 5 }, TPoint { 5, 15 + yo },
            TPoint { 35 + xo, 15 + yo }, Rect(5, 5, 35 + xo, 15 + yo), &face, picture, r, width, height, true, true,
            false, true, false, true, spstFull);
    }

    // Every pixel of `button` is that of the face of `r` at its size, composed from the skin's first picture.
    void ExpectFace(TspSkinButton* button, const TRect& r, const std::string& step)
    {
        Pump();
        TBitmap face;
        ComposeFace(face, ButtonSkin->ActivePictures[0].get(), r, button->Width(), button->Height());
        ExpectPixels(button, [&](int x, int y) { return Rgb(face.Canvas()->Pixels(x, y)); }, step);
    }

    void ExpectPixels(TControl* control, const std::function<uint32_t(int, int)>& expected, const std::string& step)
    {
        int wrong = 0;
        for (int y = 0; y < control->Height(); ++y)
            for (int x = 0; x < control->Width(); ++x)
                wrong += At(control->Left() + x, control->Top() + y) != expected(x, y);
        EXPECT_EQ(wrong, 0) << step;
    }

    // `made` in its final state next to `fresh`, made in the same state with the cache emptied first: a state
    // whose image was kept under too narrow a key would show a stale picture on `made`.
    void ExpectSameAsFresh(TControl* made, TControl* fresh, const std::string& step)
    {
        Skin->ImageCache()->Clear();
        fresh->Repaint();
        Pump();
        ExpectPixels(made, [&](int x, int y) { return At(fresh->Left() + x, fresh->Top() + y); }, step);
    }

    TFixtureSkin ButtonFixture;
    TspSkinData* ButtonSkin = nullptr;
};

} // namespace

TEST_F(SkinImageCacheTest, ARepaintComposesNothingAnewAndReadingThePictureKeepsTheImages)
{
    auto* button = PlaceButton(10, 10);
    TspSkinImageCache* cache = ButtonSkin->ImageCache();
    const uint64_t composed = cache->Compositions();
    ASSERT_GT(composed, 0u);
    ASSERT_GT(cache->Count(), 0u);
    for (int i = 0; i < 3; ++i) {
        button->Repaint();
        Pump();
    }
    EXPECT_EQ(cache->Compositions(), composed);
    ExpectFace(button, kNormal, "repainted");
}

TEST_F(SkinImageCacheTest, EverySizeAndStateShowsItsOwnFace)
{
    auto* button = PlaceButton(10, 10);
    auto* other = PlaceButton(10, 100);
    ExpectFace(button, kNormal, "placed");
    button->SetBounds(10, 10, 90, 30);
    ExpectFace(button, kNormal, "wider and taller");
    Backend.MouseMove(30, 20);
    Pump();
    ExpectFace(button, kHot, "hot");
    Backend.MouseDown();
    Pump();
    ExpectFace(button, kPressed, "pressed");
    Backend.MouseUp();
    Backend.MouseMove(300, 200);
    Pump();
    ExpectFace(button, kHot, "released and left, focused by the press");
    other->SetFocus();
    ExpectFace(button, kNormal, "the focus elsewhere");
    button->SetEnabled(false);
    ExpectFace(button, kDisabled, "disabled");
    button->SetEnabled(true);
    ExpectFace(button, kNormal, "enabled again");
    button->SetFocus();
    ExpectFace(button, kHot, "focused");
    button->SetBounds(10, 10, 41, 20);
    ExpectFace(button, kHot, "one pixel wider, focused");
    button->SetBounds(10, 10, 41, 21);
    ExpectFace(button, kHot, "one pixel taller, focused");
}

// A captioned button keeps the image of each state with its caption; every change of what the caption looks
// like shows, as on a twin whose images are made anew.
TEST_F(SkinImageCacheTest, ACaptionedButtonsKeptImagesFollowItsCaptionFontLayoutAndState)
{
    auto make = [&](int y) {
        auto* button = new TspSkinButton(Form);
        button->SetParent(Form);
        button->SetSkinDataName("captionbutton");
        button->SetCaption("First");
        button->SetSkinData(ButtonSkin);
        button->SetBounds(10, y, 110, 30);
        return button;
    };
    TspSkinButton* kept = make(10);
    TspSkinButton* twin = make(60);
    Pump();
    const struct {
        const char* Name;
        std::function<void(TspSkinButton*)> Apply;
    } steps[] = {
        { "caption", [](TspSkinButton* b) { b->SetCaption("Second one"); } },
        { "default font", [](TspSkinButton* b) { b->SetUseSkinFont(false); } },
        { "font height", [](TspSkinButton* b) { b->DefaultFont()->SetHeight(18); } },
        { "font style", [](TspSkinButton* b) { b->DefaultFont()->SetStyle({ fsBold }); } },
        { "font name", [](TspSkinButton* b) { b->DefaultFont()->SetName("DejaVu Serif"); } },
        { "font colour", [](TspSkinButton* b) { b->SetUseSkinFontColor(false), b->DefaultFont()->SetColor(clRed); } },
        { "margin", [](TspSkinButton* b) { b->SetMargin(3); } },
        { "layout", [](TspSkinButton* b) { b->SetLayout(blGlyphRight); } },
        { "disabled", [](TspSkinButton* b) { b->SetEnabled(false); } },
        { "enabled", [](TspSkinButton* b) { b->SetEnabled(true); } },
        { "hot", [](TspSkinButton* b) { b->Perform(CM_MOUSEENTER, 0, 0); } },
        { "pressed", [](TspSkinButton* b) { b->SetDown(true); } },
        { "skin colours", [](TspSkinButton* b) { b->SetUseSkinFontColor(true); } },
    };
    for (const auto& step : steps) {
        for (TspSkinButton* button : { kept, twin }) {
            step.Apply(button);
            button->Invalidate();
        }
        Pump();
        ButtonSkin->ImageCache()->Clear();
        twin->Repaint();
        Pump();
        ExpectPixels(kept, [&](int x, int y) { return At(twin->Left() + x, twin->Top() + y); }, step.Name);
    }
}

TEST_F(SkinImageCacheTest, ANewSkinAPictureDrawnOnOrReplacedAndAFreedSkinShowAtTheNextPaint)
{
    auto* button = PlaceButton(10, 10);
    button->SetBounds(10, 10, 70, 25);
    ExpectFace(button, kNormal, "first skin");

    // The same records over other pixels: the old picture is freed and the new one may take its place.
    TFixtureSkin other;
    WriteButtonSkin(other, 6);
    ButtonSkin->LoadFromFile(other.Write());
    button->Repaint();
    ExpectFace(button, kNormal, "reloaded");

    TCanvas* sheet = ButtonSkin->ActivePictures[0]->Canvas();
    sheet->Brush()->SetColor(clRed);
    sheet->FillRect(Rect(0, 0, 20, 10));
    button->Repaint();
    ExpectFace(button, kNormal, "drawn on");

    TFixtureSkin::WriteBmp(other.Path("third.bmp"), 120, 40, 7);
    ButtonSkin->DeleteBitMap(0);
    ButtonSkin->AddBitMap(other.Path("third.bmp"));
    button->Repaint();
    ExpectFace(button, kNormal, "replaced");

    delete ButtonSkin;
    ButtonSkin = nullptr;
    button->Repaint();
    Pump();
    // The default look: a clBtnShadow frame on clBtnFace.
    EXPECT_EQ(At(10 + 35, 10 + 12), Rgb(clBtnFace));
    EXPECT_EQ(At(10, 10), Rgb(clBtnShadow));
}

TEST_F(SkinImageCacheTest, MarksThumbsAndFillsFollowTheirState)
{
    // The greyed mark is the checked one lightened: both are kept, apart.
    auto* box = Place<TspSkinCheckRadioBox>(10, 10, 120, 25);
    box->SetAllowGrayed(true);
    box->SetState(cbGrayed);
    Pump();
    box->SetState(cbChecked);
    Pump();
    auto* freshBox = Place<TspSkinCheckRadioBox>(10, 40, 120, 25);
    freshBox->SetState(cbChecked);
    ExpectSameAsFresh(box, freshBox, "checked after greyed");

    // A thumb shown focused, then not: the focus goes to a bar beside it.
    auto* bar = Place<TspSkinTrackBar>(10, 80, 100, 20);
    bar->SetCanFocused(true);
    bar->SetValue(30);
    bar->SetFocus();
    Pump();
    bar->SetValue(70);
    Pump();
    auto* focusTaker = Place<TspSkinTrackBar>(150, 80, 100, 20);
    focusTaker->SetCanFocused(true);
    focusTaker->SetFocus();
    auto* freshBar = Place<TspSkinTrackBar>(10, 110, 100, 20);
    freshBar->SetValue(70);
    ExpectSameAsFresh(bar, freshBar, "thumb at 70 after the focus left");

    auto* gauge = Place<TspSkinGauge>(10, 140, 100, 20);
    gauge->SetShowPercent(false);
    for (int value : { 10, 55, 90, 40 }) {
        gauge->SetValue(value);
        Pump();
    }
    auto* freshGauge = Place<TspSkinGauge>(10, 170, 100, 20);
    freshGauge->SetShowPercent(false);
    freshGauge->SetValue(40);
    ExpectSameAsFresh(gauge, freshGauge, "fill at 40");
}

TEST_F(SkinImageCacheTest, TheCacheKeepsToItsPixelBudgetByDroppingTheImageUsedLongestAgo)
{
    TspSkinImageCache cache;
    TBitmap picture;
    auto key = [&picture](int n) { return TspSkinImageKey(TspSkinImageKind::ControlFace, &picture).Add(n); };
    // Four images of a quarter of the budget each fill it exactly.
    const int side = 1024;
    ASSERT_EQ(int64_t(side) * side * 4, TspSkinImageCache::kPixelBudget);
    auto compose = [side](TBitmap* image) { image->SetSize(side, side); };
    for (int n = 0; n < 4; ++n)
        cache.Image(key(n), compose);
    EXPECT_EQ(cache.Count(), 4u);
    ASSERT_NE(cache.Find(key(0)), nullptr);
    cache.Image(key(4), compose);
    EXPECT_EQ(cache.Count(), 4u);
    EXPECT_NE(cache.Find(key(0)), nullptr) << "found just before, so not the oldest";
    EXPECT_EQ(cache.Find(key(1)), nullptr) << "used longest ago";
    EXPECT_NE(cache.Find(key(4)), nullptr);
    // A key differs from another in its kind and its picture as well as in its values.
    EXPECT_EQ(cache.Find(TspSkinImageKey(TspSkinImageKind::CheckMark, &picture).Add(0)), nullptr);
    EXPECT_EQ(cache.Find(TspSkinImageKey(TspSkinImageKind::ControlFace, nullptr).Add(0)), nullptr);
    cache.Clear();
    EXPECT_EQ(cache.Count(), 0u);
}
