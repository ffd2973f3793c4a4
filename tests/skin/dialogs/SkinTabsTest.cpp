// The skinned page and tab controls on the headless display: the rewritten display area, the tab pictures by
// state and turned by position, hot tracking, the tab scroller, the changing veto, sheet backgrounds, and the tab
// control's background picture.
#include "framework/controls/Forms.h"
#include "framework/core/TStrings.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "skin/dialogs/TspSkinPageControl.h"
#include "skin/dialogs/TspSkinTabControl.h"
#include "tests/skin/SkinControlsTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kSeed = 21;

// The sheet is 240 x 200. The frame around the pages: a 60 x 40 nine-part piece at (0, 100) with 4-pixel
// borders. Tabs 60 x 20 with 5-pixel caps: normal at (0, 0), active at (0, 20), focused at (0, 40), hot at (0, 60);
// the strip background at (120, 0).
const TFixtureSkin::TKeyValues kTab = { { "pictureindex", "0" }, { "skinrect", "0,100,60,140" },
    { "lefttoppoint", "4,4" }, { "righttoppoint", "56,4" }, { "leftbottompoint", "4,36" },
    { "rightbottompoint", "56,36" }, { "clientrect", "4,4,56,36" }, { "tabrect", "0,0,60,20" },
    { "activetabrect", "0,20,60,40" }, { "focustabrect", "0,40,60,60" }, { "mouseintabrect", "0,60,60,80" },
    { "tabsbgrect", "120,0,130,10" }, { "tableftoffset", "5" }, { "tabrightoffset", "5" },
    { "fontname", "DejaVu Sans" }, { "fontheight", "12" }, { "updown", "tabscroll" } };

class SkinTabsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Fixture.AddActivePicture("sheet.bmp", 240, 200, kSeed);
        Fixture.AddControl("tab", "tab", kTab);
        TFixtureSkin::TKeyValues background = kTab;
        background.push_back({ "bgpictureindex", "0" });
        Fixture.AddControl("bgtab", "tab", background);
        Skin = new TspSkinData(Application);
        Skin->LoadFromFile(Fixture.Write());
        ASSERT_FALSE(Skin->Empty);
        Form = NewForm(0, 0, 500, 300);
        Form->SetColor(clWhite);
        Form->Show();
        Pump();
    }

    template <class T> T* Place(int width, int height, TTabPosition position, bool skinned)
    {
        auto* control = new T(Form);
        control->SetTabPosition(position);
        control->SetBounds(kX, kY, width, height);
        control->SetParent(Form);
        control->Loaded();
        if (skinned)
            control->SetSkinData(Skin);
        Pump();
        return control;
    }

    TspSkinPageControl* Pages(int count, int width, TTabPosition position = tpTop, bool skinned = true)
    {
        auto* pages = Place<TspSkinPageControl>(width, 150, position, skinned);
        for (int i = 0; i < count; ++i) {
            auto* sheet = new TspSkinTabSheet(Form);
            sheet->SetCaption("P" + std::to_string(i));
            sheet->SetPageControl(pages);
        }
        Pump();
        return pages;
    }

    uint32_t At(int x, int y)
    {
        Pump();
        return Backend.WindowPixel(Form->Handle(), kX + x, kY + y);
    }
    static uint32_t Sheet(int x, int y) { return TFixtureSkin::PixelOf(x, y, kSeed); }

    static constexpr int kX = 20, kY = 20;
    TFixtureSkin Fixture;
    TspSkinData* Skin = nullptr;
    TForm* Form = nullptr;
};

TEST_F(SkinTabsTest, DisplayAreaIsRewrittenOnTheNativeAnswer)
{
    // Each position against a plain page control of the same size and tab height: with a record the margins of
    // the frame (4 each) count, without one the fixed table does.
    struct Case {
        TTabPosition Position;
        bool Skinned;
        // Expected from the native answer n and the client size (cw, ch).
        TRect (*Expect)(const TRect& n, int cw, int ch);
    } const cases[] = {
        { tpTop, false, [](const TRect& n, int cw, int ch) { return TRect { 1, n.Top - 5, cw - 1, ch - 1 }; } },
        { tpBottom, false, [](const TRect& n, int cw, int) { return TRect { 1, 1, cw - 1, n.Bottom + 3 }; } },
        { tpLeft, false,
            [](const TRect& n, int cw, int ch) { return TRect { n.Left - 3, n.Top - 5, cw - 1, ch - 1 }; } },
        { tpRight, false,
            [](const TRect& n, int, int ch) { return TRect { n.Left - 3, n.Top - 5, n.Right + 3, ch - 1 }; } },
        { tpTop, true, [](const TRect& n, int cw, int ch) { return TRect { 4, n.Top + 4 - 6, cw - 4, ch - 4 }; } },
        { tpBottom, true,
            [](const TRect& n, int cw, int) { return TRect { 4, n.Top + 4 - 4, cw - 4, n.Bottom + 4 - 4 }; } },
        { tpLeft, true,
            [](const TRect& n, int cw, int ch) { return TRect { n.Left + 4 - 4, n.Top + 4 - 4, cw - 4, ch - 4 }; } },
        { tpRight, true,
            [](const TRect& n, int, int ch) { return TRect { 4, n.Top + 4 - 4, n.Right + 4 - 4, ch - 4 }; } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.Position) << (c.Skinned ? " skinned" : " plain"));
        auto* skinned = Pages(2, 300, c.Position, c.Skinned);
        auto* plain = new TPageControl(Form);
        plain->SetTabPosition(c.Position);
        plain->SetBounds(kX, kY, 300, 150);
        plain->SetParent(Form);
        plain->SetTabHeight(20);
        Pump();
        const TRect native = plain->DisplayRect();
        const TRect expected = c.Expect(native, skinned->ClientWidth(), skinned->ClientHeight());
        const TRect got = skinned->DisplayRect();
        EXPECT_EQ(got.Left, expected.Left);
        EXPECT_EQ(got.Top, expected.Top);
        EXPECT_EQ(got.Right, expected.Right);
        EXPECT_EQ(got.Bottom, expected.Bottom);
        delete plain;
        delete skinned;
    }
}

TEST_F(SkinTabsTest, TabPicturesByStateAndTurnedByPosition)
{
    // A pixel of the left cap (x 1, y 2 of the tab picture) tells which piece a tab shows and how it is turned.
    auto pixelOf = [](TTabPosition position, const TRect& r, int x, int y) -> std::pair<int, int> {
        const int w = position == tpLeft || position == tpRight ? r.Bottom - r.Top : r.Right - r.Left;
        const int h = position == tpLeft || position == tpRight ? r.Right - r.Left : r.Bottom - r.Top;
        switch (position) {
        case tpBottom: return { r.Left + x, r.Top + h - 1 - y };
        case tpLeft: return { r.Left + y, r.Top + w - 1 - x };
        case tpRight: return { r.Left + h - 1 - y, r.Top + x };
        default: return { r.Left + x, r.Top + y };
        }
    };
    for (TTabPosition position : { tpTop, tpBottom, tpLeft, tpRight }) {
        SCOPED_TRACE(int(position));
        auto* pages = Pages(3, 400, position);
        // Tab 1 inactive: the normal piece.
        auto [x1, y1] = pixelOf(position, pages->GetItemRect(1), 1, 2);
        EXPECT_EQ(At(x1, y1), Sheet(1, 2));
        // Tab 0 active, the control not focused: the active piece (drawn again over the frame).
        auto [x0, y0] = pixelOf(position, pages->GetItemRect(0), 1, 2);
        EXPECT_EQ(At(x0, y0), Sheet(1, 22));
        // The mouse over tab 1: the hot piece; over the active tab nothing changes.
        const TRect r1 = pages->GetItemRect(1);
        Backend.MouseMove(kX + (r1.Left + r1.Right) / 2, kY + (r1.Top + r1.Bottom) / 2);
        Pump();
        EXPECT_EQ(pages->HotTab(), 1);
        EXPECT_EQ(At(x1, y1), Sheet(1, 62));
        delete pages;
        Backend.MouseMove(480, 280);
        Pump();
    }
}

TEST_F(SkinTabsTest, HotTrackingRedrawsOnlyTheTabsConcerned)
{
    auto* pages = Pages(3, 400);
    const TRect r0 = pages->GetItemRect(0), r1 = pages->GetItemRect(1), r2 = pages->GetItemRect(2);
    auto moveTo = [&](const TRect& r) {
        Backend.MouseMove(kX + (r.Left + r.Right) / 2, kY + (r.Top + r.Bottom) / 2);
        Pump();
    };
    moveTo(r1);
    EXPECT_EQ(At(r1.Left + 1, r1.Top + 2), Sheet(1, 62));
    moveTo(r2);
    EXPECT_EQ(At(r1.Left + 1, r1.Top + 2), Sheet(1, 2));
    EXPECT_EQ(At(r2.Left + 1, r2.Top + 2), Sheet(1, 62));
    // The active tab never takes the hot look.
    moveTo(r0);
    EXPECT_EQ(pages->HotTab(), 0);
    EXPECT_EQ(At(r0.Left + 1, r0.Top + 2), Sheet(1, 22));
    EXPECT_EQ(At(r2.Left + 1, r2.Top + 2), Sheet(1, 2));
    // Leaving the control clears both pairs.
    moveTo(r2);
    pages->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(pages->HotTab(), -1);
    EXPECT_EQ(At(r2.Left + 1, r2.Top + 2), Sheet(1, 2));

    // The skin component goes: the control falls back to its default look and keeps no pointer to it.
    delete Skin;
    Skin = nullptr;
    EXPECT_EQ(pages->SkinData(), nullptr);
    pages->Invalidate();
    Pump();
    EXPECT_EQ(pages->SkinIndex(), -1);
    const TRect inactive = pages->GetItemRect(2);
    EXPECT_EQ(At(inactive.Left + 3, inactive.Top + 3), Rgb(clBtnFace));
}

TEST_F(SkinTabsTest, ChangingVetoKeepsTheActivePage)
{
    auto* pages = Pages(3, 400);
    bool allow = false;
    int changes = 0;
    pages->OnChanging = [&](TObject*, bool& allowChange) { allowChange = allow; };
    pages->OnChange = [&](TObject*) { ++changes; };
    const TRect r2 = pages->GetItemRect(2);
    Click(kX + (r2.Left + r2.Right) / 2, kY + (r2.Top + r2.Bottom) / 2);
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    EXPECT_EQ(changes, 0);
    allow = true;
    Click(kX + (r2.Left + r2.Right) / 2, kY + (r2.Top + r2.Bottom) / 2);
    EXPECT_EQ(pages->ActivePageIndex(), 2);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(pages->Pages(2)->Visible());
    EXPECT_EQ(At(r2.Left + 1, r2.Top + 2), Sheet(1, 42)); // focused by the click: the focused piece
}

TEST_F(SkinTabsTest, ScrollerForARowThatOverflows)
{
    // Eight tabs of 60 in a control too narrow for five.
    auto* pages = Pages(8, 260);
    pages->SetTabWidth(60);
    pages->ChangeSkinData();
    Pump();
    pages->CheckScroll();
    TspTabScroller* scroller = pages->Scroller();
    ASSERT_NE(scroller, nullptr);
    EXPECT_EQ(scroller->Width(), 40);
    EXPECT_EQ(scroller->Height(), 20);
    EXPECT_EQ(scroller->Left(), 260 - 40);
    EXPECT_EQ(scroller->Top(), 0);
    EXPECT_EQ(scroller->Max(), pages->GetInVisibleItemCount());
    EXPECT_GE(scroller->Max(), 4);
    // It wears the control's skin under the record's "updown" name.
    EXPECT_EQ(scroller->SkinData(), pages->SkinData());
    EXPECT_EQ(scroller->SkinDataName(), "tabscroll");
    // Stepping it scrolls the native row: the tab it names comes first.
    scroller->SetPosition(2);
    Pump();
    EXPECT_EQ(pages->GetPosition(), 2);
    EXPECT_LE(pages->GetItemRect(1).Right, 0);
    // Wide enough for all: it goes.
    pages->SetWidth(600);
    Pump();
    EXPECT_EQ(pages->Scroller(), nullptr);
}

TEST_F(SkinTabsTest, SheetBackgrounds)
{
    auto* pages = Pages(2, 300);
    auto* sheet = static_cast<TspSkinTabSheet*>(pages->Pages(0));
    // The record's client piece (4, 104 on the sheet) stretched over the page control's size.
    const int sx = sheet->Left(), sy = sheet->Top();
    EXPECT_NE(At(sx + 5, sy + 5), Rgb(clBtnFace));
    // A wallpaper is all the sheet shows.
    TBitmap wallpaper;
    wallpaper.SetPixelFormat(pf24bit);
    wallpaper.SetSize(4, 4);
    wallpaper.Canvas()->Brush()->SetColor(clRed);
    wallpaper.Canvas()->FillRect({ 0, 0, 4, 4 });
    sheet->SetWallPaper(&wallpaper);
    sheet->Invalidate();
    EXPECT_EQ(At(sx + 5, sy + 5), Rgb(clRed));
    EXPECT_EQ(At(sx + sheet->Width() - 1, sy + sheet->Height() - 1), Rgb(clRed));
    // Without a skin and without a wallpaper: the button face.
    auto* plain = new TspSkinTabSheet(Form);
    plain->SetPageControl(pages);
    pages->SetActivePage(plain);
    pages->SetSkinData(nullptr);
    pages->Invalidate();
    plain->Invalidate();
    EXPECT_EQ(At(plain->Left() + 5, plain->Top() + 5), Rgb(clBtnFace));
}

TEST_F(SkinTabsTest, TabControlBackgroundPictureAndScroller)
{
    auto* tabs = Place<TspSkinTabControl>(260, 150, tpBottom, false);
    tabs->SetSkinDataName("bgtab");
    tabs->SetSkinData(Skin);
    for (int i = 0; i < 8; ++i)
        tabs->Tabs()->Add("Tab number " + std::to_string(i));
    tabs->SetTabIndex(0);
    tabs->CheckScroll();
    Pump();
    // The background picture over the whole area and no frame: the page area starts with the picture's own pixels.
    EXPECT_EQ(At(1, 1), Sheet(1, 1));
    EXPECT_EQ(At(50, 50), Sheet(50, 50));
    // What a transparent child is given as its parent's image is the same picture.
    TBitmap under;
    under.SetPixelFormat(pf24bit);
    under.SetSize(20, 20);
    tabs->PaintBG(under.Canvas()->Handle());
    EXPECT_EQ(static_cast<uint32_t>(ColorToRGB(under.Canvas()->Pixels(7, 9))), static_cast<uint32_t>(0)
        | ((Sheet(7, 9) & 0xFF) << 16) | (Sheet(7, 9) & 0xFF00) | ((Sheet(7, 9) >> 16) & 0xFF));
    // Its scroller is 36 x 18 whatever the item height, at the bottom for tabs at the bottom.
    ASSERT_NE(tabs->Scroller(), nullptr);
    EXPECT_EQ(tabs->Scroller()->Width(), 36);
    EXPECT_EQ(tabs->Scroller()->Height(), 18);
    EXPECT_EQ(tabs->Scroller()->Top(), 150 - 18);
    // No tab is hot before the pointer first comes in.
    EXPECT_EQ(tabs->HotTab(), -1);
}

} // namespace
