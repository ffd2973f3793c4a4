// DrawEdge in every colour mode and DrawFrameControl's buttons, marks, arrows and caption buttons.
#include "GdiTestSupport.h"

#include <memory>

namespace {

COLORREF Sys(int index)
{
    return GetSysColor(index);
}

} // namespace

// Each mode's four colours (outer top-left, outer bottom-right, inner top-left, inner bottom-right), where an
// inner edge alone is drawn, and how far BF_ADJUST moves in.
TEST(GdiEdges, ColoursOfEveryModeAndEdge)
{
    struct Case {
        const char* Name;
        UINT Edge;
        UINT Flags;
        COLORREF OuterTopLeft, OuterBottomRight, InnerTopLeft, InnerBottomRight;
        int Lines;
    };
    const COLORREF none = RGB(1, 2, 3);
    const Case cases[] = {
        { "raised", EDGE_RAISED, 0, Sys(COLOR_3DLIGHT), Sys(COLOR_3DDKSHADOW), Sys(COLOR_BTNHIGHLIGHT),
            Sys(COLOR_BTNSHADOW), 2 },
        { "sunken", EDGE_SUNKEN, 0, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_3DDKSHADOW),
            Sys(COLOR_3DLIGHT), 2 },
        { "etched", EDGE_ETCHED, 0, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNHIGHLIGHT),
            Sys(COLOR_BTNSHADOW), 2 },
        { "bump", EDGE_BUMP, 0, Sys(COLOR_3DLIGHT), Sys(COLOR_3DDKSHADOW), Sys(COLOR_3DDKSHADOW),
            Sys(COLOR_3DLIGHT), 2 },
        { "soft raised", EDGE_RAISED, BF_SOFT, Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_3DDKSHADOW), Sys(COLOR_3DLIGHT),
            Sys(COLOR_BTNSHADOW), 2 },
        { "soft sunken", EDGE_SUNKEN, BF_SOFT, Sys(COLOR_3DDKSHADOW), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW),
            Sys(COLOR_3DLIGHT), 2 },
        { "flat", EDGE_RAISED, BF_FLAT, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNFACE),
            Sys(COLOR_BTNFACE), 2 },
        { "mono", EDGE_SUNKEN, BF_MONO, Sys(COLOR_WINDOWFRAME), Sys(COLOR_WINDOWFRAME), Sys(COLOR_WINDOW),
            Sys(COLOR_WINDOW), 2 },
        // An inner edge alone takes the outer place.
        { "inner alone", BDR_RAISEDINNER, 0, Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW), none, none, 1 },
        { "inner alone, mono", BDR_SUNKENINNER, BF_MONO, Sys(COLOR_WINDOW), Sys(COLOR_WINDOW), none, none, 1 },
        { "outer alone", BDR_SUNKENOUTER, 0, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT), none, none, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TTestCanvas canvas(10, 10, none);
        RECT r { 0, 0, 10, 10 };
        ASSERT_TRUE(DrawEdge(canvas.Dc, &r, c.Edge, BF_RECT | BF_ADJUST | c.Flags));
        EXPECT_EQ(r, (RECT { c.Lines, c.Lines, 10 - c.Lines, 10 - c.Lines }));
        EXPECT_TRUE(canvas.Is(4, 0, c.OuterTopLeft));
        EXPECT_TRUE(canvas.Is(0, 4, c.OuterTopLeft));
        EXPECT_TRUE(canvas.Is(4, 9, c.OuterBottomRight));
        EXPECT_TRUE(canvas.Is(9, 4, c.OuterBottomRight));
        EXPECT_TRUE(canvas.Is(9, 0, c.OuterBottomRight)) << "the bottom-right lines own the shared corners";
        EXPECT_TRUE(canvas.Is(4, 1, c.InnerTopLeft));
        EXPECT_TRUE(canvas.Is(8, 4, c.InnerBottomRight));
        EXPECT_TRUE(canvas.Is(5, 5, none));
    }
    // The middle: window colour for mono, face colour for every other mode (flat included).
    for (UINT mode : { 0u, BF_FLAT, BF_SOFT, BF_MONO }) {
        SCOPED_TRACE(mode);
        TTestCanvas canvas(10, 10, none);
        RECT r { 0, 0, 10, 10 };
        DrawEdge(canvas.Dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE | mode);
        EXPECT_TRUE(canvas.Is(5, 5, Sys(mode == BF_MONO ? COLOR_WINDOW : COLOR_BTNFACE)));
    }
    TTestCanvas canvas(4, 4);
    RECT r { 0, 0, 4, 4 };
    EXPECT_FALSE(DrawEdge(canvas.Dc, &r, EDGE_RAISED, BF_DIAGONAL | BF_TOP));
}

// Frame controls: the face and border of buttons by state, the marks of checked boxes, arrows that move when
// pushed and grey when inactive, and menu marks black on white.
TEST(GdiEdges, FrameControlsByState)
{
    const COLORREF none = RGB(1, 2, 3);
    auto draw = [&](UINT type, UINT state, int size = 16) {
        auto canvas = std::make_unique<TTestCanvas>(size, size, none);
        RECT r { 0, 0, size, size };
        EXPECT_TRUE(DrawFrameControl(canvas->Dc, &r, type, state));
        return canvas;
    };
    // Push buttons: raised (soft) at rest, sunken when pushed; the adjusted rectangle is the inside.
    auto raised = draw(DFC_BUTTON, DFCS_BUTTONPUSH);
    EXPECT_TRUE(raised->Is(5, 0, Sys(COLOR_BTNHIGHLIGHT)));
    EXPECT_TRUE(raised->Is(5, 15, Sys(COLOR_3DDKSHADOW)));
    EXPECT_TRUE(raised->Is(8, 8, Sys(COLOR_BTNFACE)));
    auto pushed = draw(DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    EXPECT_TRUE(pushed->Is(5, 0, Sys(COLOR_3DDKSHADOW)));
    TTestCanvas adjust(16, 16);
    RECT r { 0, 0, 16, 16 };
    DrawFrameControl(adjust.Dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
    EXPECT_EQ(r, (RECT { 2, 2, 14, 14 }));

    // Check boxes: white inside, the mark in the text colour only when checked; grey face when inactive.
    auto unchecked = draw(DFC_BUTTON, DFCS_BUTTONCHECK, 13);
    auto checked = draw(DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, 13);
    auto inactive = draw(DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_INACTIVE, 13);
    EXPECT_TRUE(unchecked->Is(0, 6, Sys(COLOR_BTNSHADOW)));
    EXPECT_EQ(unchecked->Count(Sys(COLOR_WINDOWTEXT)), 0);
    EXPECT_GT(checked->Count(Sys(COLOR_WINDOWTEXT)), 5);
    EXPECT_TRUE(inactive->Is(3, 3, Sys(COLOR_BTNFACE)));
    // Radio buttons: a round face with the dot when checked.
    auto radio = draw(DFC_BUTTON, DFCS_BUTTONRADIO, 13);
    auto radioOn = draw(DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED, 13);
    EXPECT_TRUE(radio->Is(5, 5, Sys(COLOR_WINDOW)));
    EXPECT_TRUE(radio->Is(0, 0, none)) << "the corners stay";
    EXPECT_TRUE(radioOn->Is(5, 5, Sys(COLOR_WINDOWTEXT)));

    // Scroll arrows: the glyph in the text colour, one pixel further when pushed, grey when inactive.
    auto down = draw(DFC_SCROLL, DFCS_SCROLLDOWN);
    auto downPushed = draw(DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_PUSHED);
    auto downInactive = draw(DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_INACTIVE);
    EXPECT_GT(down->Count(Sys(COLOR_BTNTEXT)), 4);
    EXPECT_EQ(downInactive->Count(Sys(COLOR_BTNTEXT)), 0);
    EXPECT_GT(downInactive->Count(Sys(COLOR_BTNSHADOW)), 4);
    const RECT arrow = down->BoxOf(Sys(COLOR_BTNTEXT));
    const RECT arrowPushed = downPushed->BoxOf(Sys(COLOR_BTNTEXT));
    EXPECT_EQ(arrowPushed.left, arrow.left + 1);
    EXPECT_EQ(arrowPushed.top, arrow.top + 1);
    // Down is widest at its top row, up narrowest.
    auto up = draw(DFC_SCROLL, DFCS_SCROLLUP);
    const RECT upArrow = up->BoxOf(Sys(COLOR_BTNTEXT));
    auto rowInk = [](const TTestCanvas& c, int y) {
        int n = 0;
        for (int x = 0; x < 16; ++x)
            n += c.Is(x, y, Sys(COLOR_BTNTEXT)) ? 1 : 0;
        return n;
    };
    EXPECT_EQ(rowInk(*down, arrow.top), arrow.right - arrow.left);
    EXPECT_EQ(rowInk(*up, upArrow.top), 1);

    // Caption buttons carry their glyph; menu marks are black on white.
    auto close = draw(DFC_CAPTION, DFCS_CAPTIONCLOSE);
    EXPECT_GT(close->Count(Sys(COLOR_BTNTEXT)), 4);
    auto check = draw(DFC_MENU, DFCS_MENUCHECK);
    EXPECT_GT(check->Count(RGB(0, 0, 0)), 4);
    EXPECT_TRUE(check->Is(0, 0, RGB(255, 255, 255)));
    EXPECT_EQ(check->Count(none), 0);

    TTestCanvas canvas(4, 4);
    RECT any { 0, 0, 4, 4 };
    EXPECT_FALSE(DrawFrameControl(canvas.Dc, &any, 9, 0));
    EXPECT_FALSE(DrawFrameControl(canvas.Dc, &any, DFC_SCROLL, 0x77));
}
