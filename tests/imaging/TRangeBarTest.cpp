// The arrow, range and gauge bars on the headless display: geometry and zones, the handle, position rules on
// resize and range changes, the repeat timer on the virtual clock, handle drags and paging, the classic, flat and
// themed looks.
#include "framework/controls/TTimer.h"
#include "imaging/Img32_system.h"
#include "imaging/TGaugeBar.h"
#include "imaging/TRangeBar.h"
#include "tests/imaging/ImagingControlsTestSupport.h"

#include <string>
#include <vector>

using namespace Img32_system;

namespace {

uint32_t Rgb(TColor color)
{
    const uint32_t c = static_cast<uint32_t>(ColorToRGB(color));
    return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

class BarsTest : public ImagingControlsTest {
protected:
    // A horizontal range bar at (10, 10), 200 x 16 with its one-pixel border: the client area starts at (11, 11)
    // and is 198 x 14, with 14-pixel buttons and a 170-pixel track.
    TRangeBar* NewRangeBar(int range, int window)
    {
        auto* bar = Place<TRangeBar>(10, 10, 200, 16);
        bar->SetRange(range);
        bar->SetWindow(window);
        bar->OnChange = [this](TObject*) { ++Changes; };
        bar->OnUserChange = [this](TObject*) { ++UserChanges; };
        return bar;
    }
    // Form coordinates of a client point of that bar.
    static int X(int clientX) { return 11 + clientX; }
    static int Y(int clientY) { return 11 + clientY; }
    void Advance(uint64_t ms)
    {
        Backend.AdvanceClock(ms);
        Pump();
    }

    int Changes = 0;
    int UserChanges = 0;
};

} // namespace

TEST_F(BarsTest, GeometryZonesAndButtonSizes)
{
    auto* bar = Place<TArrowBar>(10, 10, 100, 16);
    EXPECT_EQ(bar->ClientRect().Right, 98);
    EXPECT_EQ(bar->ClientRect().Bottom, 14);
    RECT client {};
    GetClientRect(bar->Handle(), &client);
    EXPECT_EQ(client.right, 98) << "the border is non-client on the window too";
    EXPECT_EQ(bar->GetButtonSize(), 14);
    bar->SetStyle(rbsMac);
    EXPECT_EQ(bar->GetButtonSize(), 13);
    bar->SetStyle(rbsDefault);
    bar->SetButtonSize(60);
    EXPECT_EQ(bar->GetButtonSize(), 49);
    bar->SetButtonSize(0);

    EXPECT_EQ(bar->GetZone(0, 5), zBtnPrev);
    EXPECT_EQ(bar->GetZone(97, 5), zBtnNext);
    EXPECT_EQ(bar->GetZone(98, 5), zNone);
    EXPECT_EQ(bar->GetZone(50, 5), zTrackNext) << "no handle: the whole track counts as the next part";

    // Without arrows the first and last columns belong to no zone.
    auto* range = Place<TRangeBar>(10, 40, 100, 16);
    range->SetRange(1000);
    range->SetWindow(100);
    range->SetPosition(500);
    range->SetShowArrows(false);
    EXPECT_EQ(range->GetButtonSize(), 0);
    EXPECT_EQ(range->GetZone(0, 5), zNone);
    EXPECT_EQ(range->GetZone(1, 5), zTrackPrev);
    EXPECT_EQ(range->GetZone(50, 5), zHandle);
    EXPECT_EQ(range->GetZone(96, 5), zTrackNext);
    EXPECT_EQ(range->GetZone(97, 5), zNone);

    bar->SetBorderStyle(bsNone);
    EXPECT_EQ(bar->ClientRect().Right, 100);
    GetClientRect(bar->Handle(), &client);
    EXPECT_EQ(client.right, 100);
}

TEST_F(BarsTest, TheHandleShowsTheWindowWithinTheRange)
{
    // A track of 200 pixels: a bar of 230 with 15-pixel buttons and no border.
    auto* bar = Place<TRangeBar>(0, 0, 230, 15);
    bar->SetBorderStyle(bsNone);
    bar->SetRange(1000);
    bar->SetWindow(100);
    bar->SetPosition(450);
    TRect h = bar->GetHandleRect();
    EXPECT_EQ(h.Right - h.Left, 20);
    EXPECT_EQ(h.Left, 15 + 90);
    // Too small to see: 17 pixels long, placed over what is left.
    bar->SetRange(10000);
    bar->SetPosition(9900);
    h = bar->GetHandleRect();
    EXPECT_EQ(h.Right - h.Left, 17);
    EXPECT_EQ(h.Left, 15 + 183);
    // A window as large as the range: the whole track, but drawn disabled.
    bar->SetRange(100);
    EXPECT_TRUE(bar->DrawEnabled() == false);
    h = bar->GetHandleRect();
    EXPECT_EQ(h.Left, 15);
    EXPECT_EQ(h.Right, 215);
    // A track shorter than 18 pixels shows no handle.
    bar->SetBounds(0, 0, 47, 15);
    bar->SetRange(1000);
    EXPECT_EQ(bar->GetHandleRect().Right, 0);
}

TEST_F(BarsTest, RangeWindowAndResizeKeepThePositionInRangeWithoutEvents)
{
    auto* bar = NewRangeBar(1000, 0);
    bar->SetBounds(10, 10, 100, 16);
    bar->SetPosition(900);
    EXPECT_FLOAT_EQ(bar->Position(), 900);
    Changes = 0;
    bar->SetBounds(10, 10, 200, 16);
    EXPECT_EQ(bar->EffectiveWindow(), 200);
    EXPECT_FLOAT_EQ(bar->Position(), 800);
    bar->SetRange(500);
    EXPECT_FLOAT_EQ(bar->Position(), 300);
    EXPECT_EQ(Changes, 0);

    // Centred: the middle of the window stays where it was.
    bar->SetCentered(true);
    bar->SetRange(1000);
    bar->SetBounds(10, 10, 100, 16);
    bar->SetPosition(450);
    bar->SetBounds(10, 10, 200, 16);
    EXPECT_FLOAT_EQ(bar->Position(), 400);
    bar->SetRange(-5);
    EXPECT_EQ(bar->Range(), 0);
}

TEST_F(BarsTest, AHeldArrowStepsAtOnceAfter600MsThenEvery100Ms)
{
    auto* bar = NewRangeBar(1000, 0);
    bar->SetIncrement(8);
    Press(X(190), Y(7));
    EXPECT_FLOAT_EQ(bar->Position(), 8);
    EXPECT_EQ(bar->DragZone(), zBtnNext);
    Advance(599);
    EXPECT_FLOAT_EQ(bar->Position(), 8);
    Advance(1);
    EXPECT_FLOAT_EQ(bar->Position(), 16);
    Advance(100);
    EXPECT_FLOAT_EQ(bar->Position(), 24);
    Advance(100);
    EXPECT_FLOAT_EQ(bar->Position(), 32);
    EXPECT_EQ(UserChanges, 4);
    Release();
    Advance(300);
    EXPECT_FLOAT_EQ(bar->Position(), 32);

    // Near the end the repeat stops once the position stops moving, and hot tracking takes over.
    bar->SetPosition(790);
    Press(X(190), Y(7));
    EXPECT_FLOAT_EQ(bar->Position(), 798);
    Advance(600);
    EXPECT_FLOAT_EQ(bar->Position(), 800);
    Advance(100);
    EXPECT_EQ(bar->TimerMode(), 3);
    Release();
}

TEST_F(BarsTest, DraggingTheHandleAndPagingMoveThePositionAsTheUsersChange)
{
    auto* bar = NewRangeBar(1000, 100);
    // Handle 17 pixels from the track's start (client x 14) at position 0.
    Press(X(20), Y(7));
    EXPECT_EQ(bar->DragZone(), zHandle);
    MoveTo(X(37), Y(7));
    EXPECT_FLOAT_EQ(bar->Position(), 100);
    EXPECT_GE(UserChanges, 1);
    Release();
    EXPECT_EQ(bar->DragZone(), zNone);

    // Paging towards the mouse stops once the handle has passed it.
    UserChanges = 0;
    bar->SetPosition(0);
    Press(X(100), Y(7));
    EXPECT_FLOAT_EQ(bar->Position(), 100);
    for (int i = 0; i < 10; ++i)
        Advance(600);
    EXPECT_FLOAT_EQ(bar->Position(), 500) << "the handle at 500 covers client x 99 .. 115";
    Release();

    // The wheel steps by the increment and is not the user's change in this sense.
    UserChanges = 0;
    bar->SetFocus();
    Backend.Wheel(-120);
    Pump();
    EXPECT_FLOAT_EQ(bar->Position(), 492);
    EXPECT_EQ(UserChanges, 0);
}

TEST_F(BarsTest, ABarWithNothingToScrollIgnoresPresses)
{
    auto* bar = NewRangeBar(100, 0);
    int downs = 0;
    bar->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    Press(X(190), Y(7));
    Release();
    EXPECT_EQ(downs, 0);
    EXPECT_FLOAT_EQ(bar->Position(), 0);
    EXPECT_EQ(bar->HotZone(), zNone);
}

TEST_F(BarsTest, GaugeLimitsWheelAndAnEmptySpan)
{
    auto* gauge = Place<TGaugeBar>(10, 40, 200, 16);
    int changes = 0;
    gauge->OnChange = [&](TObject*) { ++changes; };
    gauge->SetMin(100);
    EXPECT_EQ(gauge->Min(), 99);
    gauge->SetMin(0);
    gauge->SetMax(-5);
    EXPECT_EQ(gauge->Max(), 1);
    gauge->SetMax(100);
    gauge->SetPosition(150);
    EXPECT_EQ(gauge->Position(), 100);
    gauge->SetMax(50);
    EXPECT_EQ(gauge->Position(), 50);
    EXPECT_EQ(changes, 4) << "the clamps after Min and Max changes go through the position";

    gauge->SetFocus();
    Backend.Wheel(60);
    Pump();
    EXPECT_EQ(gauge->Position(), 50) << "1 x 60 div 120 is 0";
    Backend.Wheel(-240);
    Pump();
    EXPECT_EQ(gauge->Position(), 48);

    // Min = Max only a form description can make; the handle sits at the start and a drag does nothing.
    gauge->SetComponentStateItem(csLoading, true);
    gauge->SetMin(7);
    gauge->SetMax(7);
    gauge->SetComponentStateItem(csLoading, false);
    const TRect h = gauge->GetHandleRect();
    EXPECT_EQ(h.Left, 14);
    gauge->Repaint();
    Press(11 + 20, 48);
    MoveTo(11 + 60, 48);
    Release();
    EXPECT_EQ(gauge->Position(), 7);
}

TEST_F(BarsTest, TheClassicLookAtChosenPixels)
{
    auto* bar = NewRangeBar(1000, 100);
    bar->Repaint();
    // The sunken border: shadow on top and left, highlight at the bottom and right.
    EXPECT_EQ(At(10, 10), Rgb(clBtnShadow));
    EXPECT_EQ(At(209, 25), Rgb(clBtnHighlight));
    // The track: a checkerboard of the highlight and the bar's colour.
    const TColor32 a = At(X(100), Y(5));
    const TColor32 b = At(X(101), Y(5));
    EXPECT_NE(a, b);
    EXPECT_TRUE((a == Rgb(clBtnHighlight) && b == Rgb(clScrollBar)) || (b == Rgb(clBtnHighlight) && a == Rgb(clScrollBar)));
    EXPECT_EQ(At(X(100), Y(6)), b) << "the pattern alternates in both directions";
    // The handle: a raised edge around button face.
    EXPECT_EQ(At(X(22), Y(7)), Rgb(clBtnFace));
    EXPECT_EQ(At(X(30), Y(13)), Rgb(cl3DDkShadow));
    EXPECT_EQ(At(X(15), Y(1)), Rgb(clBtnHighlight));
    // The pressed track is solid window frame colour.
    Press(X(100), Y(7));
    EXPECT_EQ(At(X(150), Y(5)), Rgb(clWindowFrame));
    Release();
}

TEST_F(BarsTest, TheFlatLookAtChosenPixels)
{
    auto* bar = NewRangeBar(1000, 100);
    bar->SetStyle(rbsMac);
    bar->SetHandleColor(TColor(0x00804020));
    bar->SetShowHandleGrip(false);
    bar->Repaint();
    const TRect h = bar->GetHandleRect();
    // Outline in the window frame colour, then a 3D frame, then the handle colour.
    EXPECT_EQ(At(X(h.Left), Y(5)), Rgb(clWindowFrame));
    EXPECT_EQ(At(X(h.Left + 1), Y(5)), Rgb(Img32_RangeBars::Lighten(TColor(0x00804020), 24)));
    EXPECT_EQ(At(X((h.Left + h.Right) / 2), Y(7)), Rgb(TColor(0x00804020)));
    // The prev button: frame colour line on top, button face inside, black arrow.
    EXPECT_EQ(At(X(5), Y(0)), Rgb(clWindowFrame));
    EXPECT_EQ(At(X(3), Y(3)), Rgb(clBtnFace));
    EXPECT_THROW(Img32_RangeBars::Blend(clBlack, clWhite, 256), EAssertionFailed);
    EXPECT_EQ(Img32_RangeBars::Blend(TColor(0x000000FF), TColor(0x00FF0000), 128), TColor(0x007E007F));
}

namespace {

struct TThemeCall {
    int part;
    int state;
};
std::vector<TThemeCall>* gThemeCalls = nullptr;

HTHEME FakeOpen(HWND, const char*)
{
    return 7;
}
HRESULT FakeClose(HTHEME)
{
    return 0;
}
HRESULT FakeDraw(HTHEME, HDC, int part, int state, const RECT*, const RECT*)
{
    gThemeCalls->push_back(TThemeCall { part, state });
    return 0;
}
BOOL FakeTrue()
{
    return TRUE;
}
HRESULT FakeEnable(BOOL)
{
    return 0;
}
const TThemeLibrary kThemes = { &FakeOpen, &FakeClose, &FakeDraw, nullptr, nullptr, nullptr, nullptr, nullptr,
    &FakeTrue, &FakeTrue, &FakeEnable };

} // namespace

TEST_F(BarsTest, WithVisualStylesEveryPartIsOneThemeCall)
{
    std::vector<TThemeCall> calls;
    gThemeCalls = &calls;
    const TThemeLibraryLoader saved = ThemeLibraryLoader;
    ThemeLibraryLoader = [] { return &kThemes; };
    auto nexus = std::make_unique<TThemeNexus>();
    ASSERT_TRUE(USE_THEMES);
    auto* bar = NewRangeBar(1000, 100);
    calls.clear();
    bar->Repaint();
    std::vector<std::pair<int, int>> seen;
    for (const TThemeCall& c : calls)
        seen.emplace_back(c.part, c.state);
    // Buttons (left normal 9, right normal 13), the two track pieces (4, 5), the horizontal thumb and its grip.
    const std::vector<std::pair<int, int>> expected = { { 1, 9 }, { 1, 13 }, { 4, 1 }, { 5, 1 }, { 2, 1 }, { 8, 0 } };
    EXPECT_EQ(seen, expected);
    // The theme changing arrives at the nexus's utility window and ends in the default procedure.
    ASSERT_NE(nexus->WindowHandle, nullptr);
    EXPECT_EQ(SendMessage(nexus->WindowHandle, WM_THEMECHANGED, 0, 0), 0);
    EXPECT_TRUE(USE_THEMES);
    nexus.reset();
    ThemeLibraryLoader = saved;
    USE_THEMES = false;
    SCROLLBAR_THEME = GLOBALS_THEME = 0;
    gThemeCalls = nullptr;
}
