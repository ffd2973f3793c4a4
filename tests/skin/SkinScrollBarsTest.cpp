// The skinned scroll bar on the headless display: its value rules as owners rely on them, its default geometry,
// arrow and page repeat on the virtual clock, thumb dragging, keys and wheel, and which piece of the skin sheet
// (or of the program's own skin) each part shows.
#include "skin/controls/SkinScrollBars.h"
#include "skin/core/SkinControlRecords.h"
#include "tests/skin/SkinControlsTestSupport.h"

#include <functional>
#include <type_traits>
#include <vector>

using namespace SPUtils;

namespace {

// SetRange's four values cannot be swapped or given as bare numbers.
static_assert(std::is_invocable_v<decltype(&TspSkinScrollBar::SetRange), TspSkinScrollBar*, TspScrollMin, TspScrollMax,
    TspScrollPage, TspScrollPosition>);
static_assert(!std::is_invocable_v<decltype(&TspSkinScrollBar::SetRange), TspSkinScrollBar*, int, int, int, int>);
static_assert(!std::is_invocable_v<decltype(&TspSkinScrollBar::SetRange), TspSkinScrollBar*, TspScrollMin,
    TspScrollMax, TspScrollPosition, TspScrollPage>);

void Range(TspSkinScrollBar* bar, int min, int max, int page, int position)
{
    bar->SetRange(TspScrollMin(min), TspScrollMax(max), TspScrollPage(page), TspScrollPosition(position));
}

class SkinScrollBarsTest : public SkinControlsTest {
protected:
    void SetUp() override
    {
        // A horizontal bar 100 x 16 at (0, 0) of the sheet: 16-pixel buttons at both ends, the increase button
        // past the last point so that it moves with the length. Button images at y 0 from x 120, thumbs 30 x 16
        // at y 20 from x 100. A vertical twin 16 x 100 at (200, 0) with thumbs 16 x 30 at (220, 0).
        Fixture.AddControl("hscrollbar", "scrollbar",
            { { "pictureindex", "0" }, { "skinrect", "0,0,100,16" }, { "lefttoppoint", "16,0" },
                { "righttoppoint", "83,0" }, { "clientrect", "16,0,83,16" }, { "trackarea", "16,0,84,16" },
                { "upbuttonrect", "84,0,100,16" }, { "downbuttonrect", "0,0,16,16" },
                { "activeupbuttonrect", "120,0,136,16" }, { "downupbuttonrect", "136,0,152,16" },
                { "activedownbuttonrect", "152,0,168,16" }, { "thumbrect", "100,20,130,36" },
                { "activethumbrect", "130,20,160,36" }, { "downthumbrect", "160,20,190,36" },
                { "thumboffset1", "5" }, { "thumboffset2", "5" } });
        Fixture.AddControl("vscrollbar", "scrollbar",
            { { "pictureindex", "0" }, { "skinrect", "200,0,216,100" }, { "lefttoppoint", "0,16" },
                { "leftbottompoint", "0,83" }, { "clientrect", "0,16,16,83" }, { "trackarea", "0,16,16,84" },
                { "upbuttonrect", "0,84,16,100" }, { "downbuttonrect", "0,0,16,16" },
                { "thumbrect", "220,0,236,30" }, { "glyphrect", "190,40,196,46" },
                { "activeglyphrect", "196,40,202,46" } });
        // The vertical thumb carries a 6 x 6 glyph at (190, 40), a hovered one beside it.
        // A record of the right name but another kind.
        Fixture.AddControl("notabar", "panel", { { "pictureindex", "0" }, { "skinrect", "0,0,100,16" } });
        SkinControlsTest::SetUp();
    }

    // A default-look bar at (10, 10), 200 x 19, counting its changes.
    TspSkinScrollBar* Bar(bool skinned = false)
    {
        auto* bar = Place<TspSkinScrollBar>(10, 10, 200, skinned ? 16 : 19, skinned);
        bar->OnChange = [this](TObject*) { ++Changes; };
        bar->OnLastChange = [this](TObject*) { ++LastChanges; };
        return bar;
    }
    // Advances the virtual clock and lets the timer fire.
    void Advance(uint64_t ms)
    {
        Backend.AdvanceClock(ms);
        Pump();
    }
    void Down(int x, int y)
    {
        Backend.AdvanceClock(1000);
        Backend.MouseMove(x, y);
        Backend.MouseDown();
        Pump();
    }
    void Move(int x, int y)
    {
        Backend.MouseMove(x, y);
        Pump();
    }
    void Up()
    {
        Backend.MouseUp();
        Pump();
    }

    int Changes = 0;
    int LastChanges = 0;
};

// ---- Values ------------------------------------------------------------------------------------------------------

TEST_F(SkinScrollBarsTest, PositionIsClampedToTheRangeLessThePageAndOnlyARealChangeFiresOnChange)
{
    TspSkinScrollBar* bar = Bar();
    struct Case {
        const char* what;
        int min, max, page, request, expected;
    };
    const Case kCases[] = {
        { "classic bar, inside", 0, 100, 0, 40, 40 },
        { "classic bar, past the end", 0, 100, 0, 500, 100 },
        { "below the minimum", 0, 100, 0, -5, 0 },
        { "page 10 of 0..100", 0, 100, 10, 100, 91 },
        { "range from 10, page 5", 10, 30, 5, 40, 26 },
        // A page larger than the range leaves the position at Min, never below it.
        { "page larger than the range", 10, 20, 30, 15, 10 },
        { "page larger than a range from 0", 0, 5, 10, 3, 0 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        Changes = 0;
        Range(bar, c.min, c.max, c.page, c.request);
        EXPECT_EQ(bar->Position(), c.expected) << "SetRange clamps";
        EXPECT_EQ(Changes, 0) << "SetRange never fires OnChange";
        Range(bar, c.min, c.max, c.page, c.min);
        bar->SetPosition(c.request);
        EXPECT_EQ(bar->Position(), c.expected);
        EXPECT_EQ(Changes, c.expected != c.min ? 1 : 0);
        bar->SetPosition(c.request);
        EXPECT_EQ(Changes, c.expected != c.min ? 1 : 0) << "the same value again fires nothing";
    }
    bar->SimplySetPosition(3);
    EXPECT_EQ(bar->Position(), 0) << "the last case's range";
}

TEST_F(SkinScrollBarsTest, RangeSettersKeepThePositionAndPageConsistent)
{
    TspSkinScrollBar* bar = Bar();
    Range(bar, 0, 100, 0, 80);
    bar->SetMax(50);
    EXPECT_EQ(bar->Position(), 50) << "a classic bar lowers its position to the new maximum";

    Range(bar, 0, 100, 10, 85);
    bar->SetMax(90);
    EXPECT_EQ(bar->Position(), 81) << "with a page: at most max - page + 1";
    bar->SetMin(85);
    EXPECT_EQ(bar->Position(), 85) << "raised to the new minimum";

    // A range that does not start at 0 keeps an absolute position.
    Range(bar, 100, 200, 10, 150);
    bar->SetMax(180);
    EXPECT_EQ(bar->Position(), 150);
    bar->SetMax(155);
    EXPECT_EQ(bar->Position(), 146);

    Range(bar, 0, 100, 10, 50);
    bar->SetPageSize(60);
    EXPECT_EQ(bar->PageSize(), 10) << "a page that does not fit beside the position is refused";
    bar->SetPageSize(51);
    EXPECT_EQ(bar->PageSize(), 51);
    Range(bar, 100, 200, 10, 150);
    bar->SetPageSize(51);
    EXPECT_EQ(bar->PageSize(), 51) << "the page is measured from Min";
    bar->SetPageSize(52);
    EXPECT_EQ(bar->PageSize(), 51);
    EXPECT_EQ(Changes, 0);
}

// ---- Default look ------------------------------------------------------------------------------------------------

TEST_F(SkinScrollBarsTest, DefaultGeometryPlacesButtonsTrackAndThumb)
{
    TspSkinScrollBar* bar = Bar();
    Range(bar, 0, 100, 0, 0);
    bar->CalcRects();
    EXPECT_EQ(bar->PartRect(TspSkinScrollBar::spDecrease), Rect(1, 1, 17, 18));
    EXPECT_EQ(bar->PartRect(TspSkinScrollBar::spIncrease), Rect(183, 1, 199, 18));
    EXPECT_EQ(bar->TrackRect(), Rect(17, 1, 183, 18));
    EXPECT_EQ(bar->PartRect(TspSkinScrollBar::spThumb), Rect(17, 1, 33, 18)) << "minimum length 16";
    Range(bar, 0, 100, 0, 100);
    bar->CalcRects();
    EXPECT_EQ(bar->PartRect(TspSkinScrollBar::spThumb), Rect(167, 1, 183, 18));
    Range(bar, 5, 5, 0, 5);
    bar->CalcRects();
    EXPECT_EQ(bar->PartRect(TspSkinScrollBar::spThumb).Left, 17) << "Min = Max: the thumb at the track start";
    // A page of 50 in 0..99 makes the thumb half the track.
    Range(bar, 0, 99, 50, 25);
    bar->CalcRects();
    EXPECT_EQ(bar->PartRect(TspSkinScrollBar::spThumb), Rect(59, 1, 141, 18));

    bar->SetBothMarkerWidth(19);
    bar->SetBoth(true);
    bar->CalcRects();
    EXPECT_EQ(bar->PartRect(TspSkinScrollBar::spIncrease), Rect(164, 1, 180, 18)) << "the corner square is left free";
    bar->SetBothMarkerWidth(-3);
    EXPECT_EQ(bar->BothMarkerWidth(), 19);

    auto* vertical = Place<TspSkinScrollBar>(250, 10, 19, 200, false);
    vertical->SetKind(sbVertical);
    vertical->CalcRects();
    EXPECT_EQ(vertical->PartRect(TspSkinScrollBar::spDecrease), Rect(1, 1, 18, 17));
    EXPECT_EQ(vertical->PartRect(TspSkinScrollBar::spIncrease), Rect(1, 183, 18, 199));
    EXPECT_EQ(vertical->TrackRect(), Rect(1, 17, 18, 183));
    // Falling back to the default look keeps a vertical bar's length.
    vertical->SetSkinDataName("missing");
    vertical->SetSkinData(Skin);
    EXPECT_EQ(vertical->Height(), 200);
    EXPECT_EQ(vertical->Width(), 19);
}

TEST_F(SkinScrollBarsTest, DefaultLookShowsStatesAndADisabledBarHasNoThumb)
{
    TspSkinScrollBar* bar = Bar();
    Range(bar, 0, 100, 0, 50);
    const TRect thumb = (bar->CalcRects(), bar->PartRect(TspSkinScrollBar::spThumb));
    const int tx = 10 + thumb.Left + 5;
    EXPECT_EQ(At(tx, 20), Rgb(clBtnFace));
    EXPECT_EQ(At(10 + thumb.Left, 20), Rgb(clBtnShadow)) << "the thumb's frame";
    Move(tx, 20);
    EXPECT_EQ(At(tx, 20), Rgb(RGB(182, 189, 210))) << "hovered thumb";
    Down(tx, 20);
    EXPECT_EQ(At(tx, 20), Rgb(RGB(133, 147, 181))) << "pressed thumb";
    Up();
    Move(10 + 190, 20);
    EXPECT_EQ(At(10 + 183, 12), Rgb(clNavy)) << "hovered increase button's frame";
    EXPECT_EQ(At(10 + 185, 13), Rgb(RGB(182, 189, 210))) << "and its fill";
    Move(300, 250);
    bar->SetEnabled(false);
    Pump();
    EXPECT_EQ(At(10 + thumb.Left, 20), Rgb(clBtnFace)) << "no thumb on a disabled bar";
    EXPECT_EQ(At(10 + 1, 12), Rgb(clBtnShadow)) << "the buttons stay";
}

// An owner setting several values at once has the bar painted once, with the window's next paint; alone, a value
// paints at once.
TEST_F(SkinScrollBarsTest, InsideAnUpdateTheBarPaintsOnlyWithTheNextPaint)
{
    TspSkinScrollBar* bar = Bar();
    Range(bar, 0, 100, 0, 0);
    Pump();
    const int endX = 10 + 167; // The thumb's frame once it stands at the end (167..183).
    const uint32_t track = At(endX, 20);
    ASSERT_NE(track, Rgb(clBtnShadow));
    bar->BeginUpdate();
    bar->BeginUpdate();
    Range(bar, 0, 100, 0, 100);
    bar->SetSmallChange(5);
    bar->EndUpdate();
    EXPECT_EQ(At(endX, 20), track) << "nothing painted inside the update";
    bar->EndUpdate();
    Pump();
    EXPECT_EQ(At(endX, 20), Rgb(clBtnShadow)) << "the thumb at its end";
    Range(bar, 0, 100, 0, 0);
    EXPECT_EQ(At(endX, 20), track) << "outside an update a value paints at once";
}

// ---- Mouse ------------------------------------------------------------------------------------------------------

TEST_F(SkinScrollBarsTest, AHeldArrowStepsAtThePressThenAfter500MsEvery50AndPausesOffTheButton)
{
    TspSkinScrollBar* bar = Bar();
    Range(bar, 0, 100, 0, 0);
    Down(10 + 190, 20);
    EXPECT_EQ(bar->Position(), 1) << "one step at the press";
    Advance(499);
    EXPECT_EQ(bar->Position(), 1);
    Advance(1);
    EXPECT_EQ(bar->Position(), 1) << "the first tick only switches to the fast rate";
    for (int i = 0; i < 3; ++i)
        Advance(50);
    EXPECT_EQ(bar->Position(), 4);
    Move(10 + 100, 20);
    Advance(200);
    EXPECT_EQ(bar->Position(), 4) << "off the button the repeat pauses";
    Move(10 + 190, 20);
    Advance(50);
    EXPECT_EQ(bar->Position(), 5) << "back on it, it resumes at 50 ms";
    Up();
    Advance(500);
    EXPECT_EQ(bar->Position(), 5);
    EXPECT_EQ(LastChanges, 0) << "an arrow release is no last change";

    // An assigned handler replaces the step, at the press and in the repeat.
    int ups = 0;
    bar->OnDownButtonClick = [&ups](TObject*) { ++ups; };
    Down(10 + 5, 20);
    Advance(500);
    Advance(50);
    Up();
    EXPECT_EQ(ups, 2);
    EXPECT_EQ(bar->Position(), 5);
}

TEST_F(SkinScrollBarsTest, APageClickRepeatsUntilTheThumbReachesThePointer)
{
    struct Case {
        const char* what;
        int start, x, expected;
        int pageEvents;
    };
    // Page 10 of 0..100 on a 166-pixel track: the thumb is 16 long, its centre 25 + round(150 * pos / 91).
    const Case kCases[] = {
        { "forward", 0, 150, 80, 8 },
        { "back", 91, 60, 21, 7 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        TspSkinScrollBar* bar = Bar();
        Range(bar, 0, 100, 10, c.start);
        bar->SetLargeChange(10);
        int pages = 0;
        bar->OnPageUp = bar->OnPageDown = [&pages](TObject*) { ++pages; };
        Down(10 + c.x, 20);
        for (int i = 0; i < 30; ++i)
            Advance(50);
        EXPECT_EQ(bar->Position(), c.expected);
        EXPECT_EQ(bar->TimerMode(), 0) << "stopped by itself";
        EXPECT_EQ(pages, c.pageEvents);
        bar->CalcRects();
        const TRect thumb = bar->PartRect(TspSkinScrollBar::spThumb);
        EXPECT_TRUE(c.x >= thumb.Left && c.x <= thumb.Right);
        Up();
        EXPECT_EQ(LastChanges, 0);
        delete bar;
    }
}

TEST_F(SkinScrollBarsTest, LeavingTheBarStopsAForwardPageRepeatButNotABackwardOne)
{
    struct Case {
        const char* what;
        int start, x;
        bool goesOn;
    };
    const Case kCases[] = { { "forward", 0, 150, false }, { "back", 91, 60, true } };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        TspSkinScrollBar* bar = Bar();
        Range(bar, 0, 100, 10, c.start);
        bar->SetLargeChange(10);
        Down(10 + c.x, 20);
        const int afterPress = bar->Position();
        bar->Perform(CM_MOUSELEAVE, 0, 0);
        Advance(500);
        Advance(50);
        EXPECT_EQ(bar->Position() != afterPress, c.goesOn);
        Up();
        delete bar;
    }
}

TEST_F(SkinScrollBarsTest, DraggingTheThumbMapsItsOffsetAndOnlyItsReleaseIsALastChange)
{
    TspSkinScrollBar* bar = Bar();
    Range(bar, 0, 100, 0, 0);
    // Thumb 16 long on the 166-pixel track: its centre runs from 25 to 175.
    Down(10 + 25, 20);
    Up();
    EXPECT_EQ(LastChanges, 1) << "a release without a move is still a last change";
    EXPECT_EQ(Changes, 0);
    Down(10 + 25, 20);
    Move(10 + 100, 20);
    EXPECT_EQ(bar->Position(), 50);
    EXPECT_TRUE(bar->Dragging());
    Move(10 + 101, 300);
    EXPECT_EQ(bar->Position(), 51) << "the drag follows the pointer off the bar";
    Move(10 + 400, 20);
    EXPECT_EQ(bar->Position(), 100);
    Move(0, 20);
    EXPECT_EQ(bar->Position(), 0);
    Up();
    EXPECT_EQ(LastChanges, 2);
    EXPECT_EQ(Changes, 4);

    // With a page, the value spans Min..Max - PageSize + 1 over the thumb's travel.
    Range(bar, 0, 100, 10, 0);
    Down(10 + 25, 20);
    Move(10 + 100, 20);
    EXPECT_EQ(bar->Position(), 46) << "round(91 * 75 / 150) = round(45.5), halves to even";
    Up();

    // Other buttons do nothing but the framework's handling.
    Range(bar, 0, 100, 0, 50);
    Backend.AdvanceClock(1000);
    Backend.Click(10 + 190, 20, TRawButton::Right);
    Backend.AdvanceClock(1000);
    Backend.Click(10 + 60, 20, TRawButton::Middle);
    Pump();
    EXPECT_EQ(bar->Position(), 50);
    EXPECT_EQ(bar->TimerMode(), 0);
}

// ---- Keys and wheel ---------------------------------------------------------------------------------------------

TEST_F(SkinScrollBarsTest, KeysAndWheelStepOnlyAFocusableBar)
{
    TspSkinScrollBar* bar = Bar();
    Range(bar, 0, 100, 0, 50);
    bar->SetSmallChange(5);
    EXPECT_FALSE(bar->TabStop());
    EXPECT_EQ(bar->Perform(CM_WANTSPECIALKEY, VK_LEFT, 0), 0);
    bar->SetCanFocused(true);
    EXPECT_TRUE(bar->TabStop());
    EXPECT_EQ(bar->Perform(CM_WANTSPECIALKEY, VK_LEFT, 0), 1);
    Down(10 + 150, 20); // a page click on an unfocused bar takes the focus first
    Up();
    ASSERT_TRUE(bar->Focused());
    EXPECT_EQ(bar->Position(), 51) << "the page step of 1";
    struct Step {
        UINT key;
        int expected;
    };
    const Step kSteps[] = { { VK_LEFT, 46 }, { VK_UP, 41 }, { VK_RIGHT, 46 }, { VK_DOWN, 51 } };
    for (const Step& s : kSteps) {
        Backend.Key(s.key);
        Pump();
        EXPECT_EQ(bar->Position(), s.expected) << s.key;
    }
    Backend.Wheel(120);
    Pump();
    EXPECT_EQ(bar->Position(), 46) << "wheel forward lowers";
    Backend.Wheel(-120);
    Pump();
    EXPECT_EQ(bar->Position(), 51);
}

// ---- Skinned look -----------------------------------------------------------------------------------------------

TEST_F(SkinScrollBarsTest, SkinnedPartsComeFromTheirPiecesOfTheSheet)
{
    TspSkinScrollBar* bar = Bar(true);
    ASSERT_EQ(bar->GetSkinIndex(), Skin->GetControlIndex("hscrollbar"));
    EXPECT_EQ(bar->Height(), 16) << "the record fixes the height";
    Range(bar, 0, 100, 0, 0);
    bar->CalcRects();
    EXPECT_EQ(bar->TrackRect(), Rect(16, 0, 184, 16));
    EXPECT_EQ(bar->PartRect(TspSkinScrollBar::spIncrease), Rect(184, 0, 200, 16)) << "moved with the length";
    EXPECT_EQ(bar->PartRect(TspSkinScrollBar::spDecrease), Rect(0, 0, 16, 16));
    EXPECT_EQ(bar->PartRect(TspSkinScrollBar::spThumb), Rect(16, 0, 46, 16)) << "the thumb piece's length";

    struct Probe {
        const char* what;
        int x, y;
        uint32_t expected;
    };
    const auto check = [&](std::initializer_list<Probe> probes) {
        for (const Probe& p : probes)
            EXPECT_EQ(At(10 + p.x, 10 + p.y), p.expected) << p.what;
    };
    check({ { "decrease button, part of the face", 5, 5, Sheet(5, 5) },
        { "increase button, part of the face", 190, 5, Sheet(90, 5) },
        { "thumb", 20, 8, Sheet(104, 28) } });
    Move(10 + 190, 18);
    check({ { "hovered increase button", 190, 8, Sheet(126, 8) }, { "thumb", 20, 8, Sheet(104, 28) } });
    Down(10 + 190, 18);
    check({ { "pressed increase button", 190, 8, Sheet(142, 8) } });
    Up();
    Down(10 + 5, 18);
    check({ { "pressed decrease button without its own picture: the hovered one", 5, 8, Sheet(157, 8) } });
    Up();
    Move(10 + 20, 18);
    check({ { "hovered thumb", 20, 8, Sheet(134, 28) } });
    Down(10 + 20, 18);
    check({ { "pressed thumb", 20, 8, Sheet(164, 28) } });
    Up();

    // With a page the thumb is a strip with fixed 5-pixel ends.
    Move(300, 250);
    Range(bar, 0, 100, 50, 0);
    bar->CalcRects();
    const TRect thumb = bar->PartRect(TspSkinScrollBar::spThumb);
    EXPECT_EQ(thumb, Rect(16, 0, 98, 16));
    check({ { "thumb's left end", 18, 8, Sheet(102, 28) }, { "thumb's right end", 95, 8, Sheet(127, 28) } });

    bar->SetEnabled(false);
    Pump();
    EXPECT_NE(At(10 + 18, 18), Sheet(102, 28)) << "no thumb on a disabled bar";
}

// The thumb's picture is kept by the skin between paints. After every change the bar shows what it shows when
// its picture is made anew: a kept picture found for a change it ignored would show a stale thumb.
TEST_F(SkinScrollBarsTest, TheKeptThumbFollowsItsLengthStateGlyphKindAndSkin)
{
    TspSkinScrollBar* bar = Bar(true);
    auto* other = Place<TspSkinScrollBar>(10, 250, 100, 16);
    other->SetCanFocused(true);
    Range(bar, 0, 100, 0, 0);
    auto pixels = [&] {
        Pump();
        std::vector<uint32_t> shown;
        for (int y = 0; y < bar->Height(); ++y)
            for (int x = 0; x < bar->Width(); ++x)
                shown.push_back(At(bar->Left() + x, bar->Top() + y));
        return shown;
    };
    auto thumbCenter = [&] {
        bar->CalcRects();
        const TRect t = bar->PartRect(TspSkinScrollBar::spThumb);
        return TPoint { bar->Left() + (t.Left + t.Right) / 2, bar->Top() + (t.Top + t.Bottom) / 2 };
    };
    const struct {
        const char* what;
        std::function<void()> apply;
    } kSteps[] = {
        { "without a page", [] {} },
        { "page 50: a longer strip", [&] { Range(bar, 0, 100, 50, 0); } },
        { "page 20, further on", [&] { Range(bar, 0, 100, 20, 40); } },
        { "hovered", [&] { Move(thumbCenter().X, thumbCenter().Y); } },
        { "pressed", [&] { Down(thumbCenter().X, thumbCenter().Y); } },
        { "released, pointer away", [&] { Up(), Move(350, 200); } },
        { "focused", [&] { bar->SetCanFocused(true), bar->SetFocus(); } },
        { "the focus elsewhere", [&] { other->SetFocus(); } },
        { "a longer bar", [&] { bar->SetBounds(10, 10, 260, 16); } },
        { "vertical, with a glyph", [&] {
             bar->SetKind(sbVertical);
             bar->SetSkinDataName("vscrollbar");
             bar->SetBounds(300, 10, 16, 200);
             bar->SetSkinData(Skin);
         } },
        { "vertical, hovered glyph", [&] { Move(thumbCenter().X, thumbCenter().Y); } },
        { "a longer vertical bar", [&] { bar->SetBounds(300, 10, 16, 260); } },
        { "the sheet drawn on under the thumb", [&] {
             Move(350, 280);
             TCanvas* sheet = Skin->ActivePictures[0]->Canvas();
             sheet->Brush()->SetColor(clRed);
             sheet->FillRect(Rect(220, 5, 236, 25));
         } },
    };
    for (const auto& step : kSteps) {
        step.apply();
        bar->Invalidate();
        const std::vector<uint32_t> shown = pixels();
        const uint64_t composed = Skin->ImageCache()->Compositions();
        bar->Repaint();
        EXPECT_EQ(Skin->ImageCache()->Compositions(), composed) << step.what << ": a repaint composes nothing";
        Skin->ImageCache()->Clear();
        bar->Repaint();
        EXPECT_EQ(shown, pixels()) << step.what;
    }
}

TEST_F(SkinScrollBarsTest, SkinnedThumbStaysAtTheStartWhenThePageCoversTheRange)
{
    // The default look puts such a thumb at the end; the skinned one, in either orientation, at the start.
    for (bool vertical : { false, true }) {
        SCOPED_TRACE(vertical ? "vertical" : "horizontal");
        auto* bar = vertical ? Place<TspSkinScrollBar>(300, 10, 16, 200, false)
                             : Place<TspSkinScrollBar>(10, 10, 200, 16, false);
        if (vertical) {
            bar->SetKind(sbVertical);
            bar->SetSkinDataName("vscrollbar");
        }
        bar->SetSkinData(Skin);
        for (int max : { 9, 5 }) {
            Range(bar, 0, max, 10, 0);
            bar->CalcRects();
            const TRect thumb = bar->PartRect(TspSkinScrollBar::spThumb);
            const TRect track = bar->TrackRect();
            EXPECT_EQ(vertical ? thumb.Top : thumb.Left, vertical ? track.Top : track.Left) << max;
        }
        delete bar;
    }
}

TEST_F(SkinScrollBarsTest, ARecordOfAnotherKindOrWithoutAPictureGivesTheDefaultLook)
{
    TspSkinScrollBar* bar = Bar();
    bar->SetSkinDataName("notabar");
    bar->SetSkinData(Skin);
    EXPECT_EQ(bar->GetSkinIndex(), -1);
    Range(bar, 0, 100, 0, 0);
    bar->CalcRects();
    EXPECT_EQ(bar->TrackRect(), Rect(17, 1, 183, 18));
    EXPECT_EQ(At(10 + 20, 20), Rgb(clBtnFace));
}

#ifdef TP_SKIN_DIR
TEST_F(SkinScrollBarsTest, TheProgramsSkinDressesBothOrientationsAndTheCorner)
{
    auto* program = new TspSkinData(Application);
    program->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
    ASSERT_FALSE(program->Empty);
    struct Case {
        const char* name;
        TScrollBarKind kind;
        bool both;
    };
    const Case kCases[] = { { "hscrollbar", sbHorizontal, false }, { "vscrollbar", sbVertical, false },
        { "bothhscrollbar", sbHorizontal, true } };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const int index = program->GetControlIndex(c.name);
        ASSERT_NE(index, -1);
        auto* record = dynamic_cast<TspDataSkinScrollBarControl*>(program->ControlRecords[size_t(index)].get());
        ASSERT_NE(record, nullptr);
        TBitmap* picture = program->ActivePictures[size_t(record->PictureIndex)].get();
        auto* bar = c.kind == sbVertical ? Place<TspSkinScrollBar>(20, 20, 16, 250, false)
                                         : Place<TspSkinScrollBar>(20, 20, 250, 16, false);
        bar->SetKind(c.kind);
        bar->SetSkinDataName(c.kind == sbVertical ? "vscrollbar" : "hscrollbar");
        bar->SetSkinData(program);
        bar->SetBoth(c.both);
        EXPECT_EQ(bar->SkinDataName(), c.name);
        Range(bar, 0, 99, 10, 0);
        bar->CalcRects();
        const TRect thumb = bar->PartRect(TspSkinScrollBar::spThumb);
        const TRect& source = record->ThumbRect;
        // The thumb's first pixel row and column come from the record's thumb piece.
        const int across = c.kind == sbVertical ? RectWidth(source) / 2 : RectHeight(source) / 2;
        const int x = c.kind == sbVertical ? across : 1;
        const int y = c.kind == sbVertical ? 1 : across;
        EXPECT_EQ(At(20 + thumb.Left + x, 20 + thumb.Top + y),
            Rgb(picture->Canvas()->Pixels(source.Left + x, source.Top + y)));
        // The increase button sits at the far end of the bar, whatever its length.
        const TRect up = bar->PartRect(TspSkinScrollBar::spIncrease);
        if (c.kind == sbVertical)
            EXPECT_EQ(up.Bottom, 250);
        else
            EXPECT_EQ(up.Right, c.both ? 250 - 16 : 250);
        bar->SetBoth(false);
        EXPECT_EQ(bar->SkinDataName(), c.kind == sbVertical ? "vscrollbar" : "hscrollbar") << "the name comes back";
        delete bar;
    }
}
#endif

} // namespace
