// The skinned bars that scroll what they hold, on the headless display: the buttons bar, the scroll panel and
// the tool bar.
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinButtonsBar.h"
#include "skin/controls/SkinMenuButtons.h"
#include "skin/controls/SkinScrollPanel.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/core/SkinMessages.h"
#include "tests/skin/SkinControlsTestSupport.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

class SkinButtonsBarTest : public SkinControlsTest {
protected:
    // A bar of `sections` sections with `items` items each, 150 x `height`, unskinned unless `skin` is given.
    TspSkinButtonsBar* Bar(int sections, int items, int height, TspSkinData* skin = nullptr)
    {
        auto* bar = new TspSkinButtonsBar(Form);
        bar->SetAlign(alNone);
        bar->SetBounds(10, 10, 150, height);
        bar->SetParent(Form);
        if (skin)
            bar->SetSkinData(skin);
        for (int s = 0; s < sections; ++s) {
            TspButtonBarSection* section = bar->Sections()->Add();
            section->SetText("S" + std::to_string(s));
            section->OnClick = [this, s](TObject*) { SectionClicks.push_back(s); };
            for (int i = 0; i < items; ++i)
                section->Items()->Add()->SetText("I" + std::to_string(i));
        }
        Pump();
        return bar;
    }

    // Where the section buttons stand: "T" or "B" and the section, in the order top to bottom.
    static std::string ButtonOrder(TspSkinButtonsBar* bar)
    {
        std::vector<TspSectionButton*> buttons = bar->SectionButtons();
        std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->Top() < b->Top(); });
        std::string order;
        for (TspSectionButton* button : buttons)
            order += (button->Align() == alTop ? "T" : "B") + std::to_string(button->SectionIndex());
        return order;
    }

    static std::string ShownItems(TspSkinButtonsBar* bar)
    {
        std::string shown;
        for (TspSectionItem* item : bar->SectionItems())
            if (item->Visible() && item->Parent())
                shown += std::to_string(item->ItemIndex()) + "@" + std::to_string(item->Top()) + " ";
        return shown;
    }

    void ClickControl(TControl* control)
    {
        const TPoint p = control->ClientToScreen(TPoint { control->Width() / 2, control->Height() / 2 });
        Click(p.X, p.Y);
    }

    std::vector<int> SectionClicks;
};

// ---- Buttons bar -------------------------------------------------------------------------------------------------

TEST_F(SkinButtonsBarTest, SectionButtonsStandAboveAndBelowTheOpenSectionAndOpeningOneClicksItTwice)
{
    auto* bar = Bar(3, 2, 300);
    EXPECT_EQ(ButtonOrder(bar), "T0B1B2");
    EXPECT_EQ(ShownItems(bar), "0@0 1@60 ");
    struct TCase {
        int Open;
        const char* Order;
        const char* Items;
    };
    for (const TCase& c : { TCase { 2, "T0T1T2", "0@0 1@60 " }, TCase { 1, "T0T1B2", "0@0 1@60 " },
             TCase { -1, "T0T1T2", "" } }) {
        SCOPED_TRACE(c.Open);
        bar->SetSectionIndex(c.Open);
        Pump();
        EXPECT_EQ(bar->SectionIndex(), c.Open);
        EXPECT_EQ(ButtonOrder(bar), c.Order);
        EXPECT_EQ(ShownItems(bar), c.Items);
    }
    // The button of a closed section: its own click, then the opening's.
    SectionClicks.clear();
    ClickControl(bar->SectionButtons()[2]);
    EXPECT_EQ(bar->SectionIndex(), 1);
    EXPECT_EQ(SectionClicks, (std::vector<int> { 1, 1 }));
    SectionClicks.clear();
    TspSectionButton* open = nullptr;
    for (TspSectionButton* button : bar->SectionButtons())
        if (button->SectionIndex() == 1)
            open = button;
    ClickControl(open);
    EXPECT_EQ(SectionClicks, (std::vector<int> { 1 }));
    // Out of range: ignored.
    bar->SetSectionIndex(3);
    EXPECT_EQ(bar->SectionIndex(), 1);
}

TEST_F(SkinButtonsBarTest, ItemsThatDoNotFitScrollOneAtATimeAndGrowingTheBarShowsThemAll)
{
    // 3 section buttons of 25 and a frame leave the item panel room for 2 of 6 items.
    auto* bar = Bar(3, 6, 200);
    TspSkinPanel* panel = bar->ItemPanel();
    ASSERT_EQ(bar->VisibleItemCount(), panel->Height() / 60);
    ASSERT_EQ(bar->VisibleItemCount(), 2);
    EXPECT_EQ(bar->UpButton(), nullptr);
    ASSERT_NE(bar->DownButton(), nullptr);
    EXPECT_EQ(bar->DownButton()->Left(), panel->Width() - 23);
    EXPECT_EQ(bar->DownButton()->Top(), panel->Height() - 23);
    EXPECT_EQ(bar->DownButton()->Width(), 18);

    ClickControl(bar->DownButton());
    EXPECT_EQ(bar->FirstVisibleItem(), 1);
    EXPECT_EQ(ShownItems(bar), "1@0 2@60 ");
    ASSERT_NE(bar->UpButton(), nullptr);
    EXPECT_EQ(bar->UpButton()->Left(), panel->Width() - 23);
    EXPECT_EQ(bar->UpButton()->Top(), 5);

    // Up to the top: the last step hides the very button that is clicked.
    ClickControl(bar->UpButton());
    EXPECT_EQ(bar->FirstVisibleItem(), 0);
    EXPECT_EQ(bar->UpButton(), nullptr);
    for (int i = 0; i < 4; ++i)
        bar->ScrollDown();
    EXPECT_EQ(bar->FirstVisibleItem(), 4);
    EXPECT_EQ(bar->DownButton(), nullptr);
    bar->ScrollDown();
    EXPECT_EQ(bar->FirstVisibleItem(), 4);

    // Room for every item: back to the first, no arrows.
    bar->SetBounds(10, 10, 150, 600);
    Pump();
    EXPECT_EQ(bar->VisibleItemCount(), 6);
    EXPECT_EQ(bar->FirstVisibleItem(), 0);
    EXPECT_EQ(bar->UpButton(), nullptr);
    EXPECT_EQ(bar->DownButton(), nullptr);
}

TEST_F(SkinButtonsBarTest, RemovingSectionsClampsTheOpenSectionAndRebuildsFromWhatIsLeft)
{
    auto* bar = Bar(3, 2, 300);
    bar->SetSectionIndex(2);
    Pump();
    // The open section (the last) goes: the last remaining one is open.
    bar->Sections()->Delete(2);
    Pump();
    EXPECT_EQ(bar->SectionIndex(), 1);
    EXPECT_EQ(ButtonOrder(bar), "T0T1");
    EXPECT_EQ(ShownItems(bar), "0@0 1@60 ");
    for (TspSectionItem* item : bar->SectionItems())
        EXPECT_EQ(item->SectionIndex(), 1);
    // All of them go: no buttons, no items, no open section.
    bar->Sections()->Clear();
    Pump();
    EXPECT_EQ(bar->SectionIndex(), -1);
    EXPECT_TRUE(bar->SectionButtons().empty());
    EXPECT_TRUE(bar->SectionItems().empty());
    // And new ones come back with the first open.
    bar->Sections()->Add()->Items()->Add();
    Pump();
    bar->SetSectionIndex(0);
    Pump();
    EXPECT_EQ(ButtonOrder(bar), "T0");
    EXPECT_EQ(ShownItems(bar), "0@0 ");
}

TEST_F(SkinButtonsBarTest, AnItemHeightBelowOneIsIgnoredAndTextChangesRenameWithoutRebuilding)
{
    auto* bar = Bar(2, 3, 300);
    for (int height : { 0, -5 }) {
        bar->SetItemHeight(height);
        EXPECT_EQ(bar->ItemHeight(), 60) << height;
    }
    bar->SetItemHeight(40);
    EXPECT_EQ(ShownItems(bar), "0@0 1@40 2@80 ");
    // A new section and item start at picture 0.
    EXPECT_EQ(bar->Sections()->Items(0)->ImageIndex(), 0);
    EXPECT_EQ(bar->Sections()->Items(0)->Items()->Items(0)->ImageIndex(), 0);
    // Renaming the open section keeps its items; changing an item rebuilds them with the new text.
    TspSectionItem* before = bar->SectionItems()[0];
    bar->Sections()->Items(0)->SetText("Renamed");
    Pump();
    EXPECT_EQ(bar->SectionItems()[0], before);
    EXPECT_EQ(bar->SectionButtons()[0]->Caption(), "Renamed");
    bar->Sections()->Items(0)->Items()->Items(1)->SetText("Changed");
    Pump();
    EXPECT_EQ(bar->SectionItems()[1]->Caption(), "Changed");
}

TEST_F(SkinButtonsBarTest, SkinnedSectionButtonsTakeTheirRecordAndItemsTheResizeButtonOne)
{
    auto* bar = Bar(2, 2, 300, Skin);
    ASSERT_FALSE(bar->SectionButtons().empty());
    // The fixture's "toolbutton" face (160, 170) shows at the button's top-left corner.
    TspSectionButton* first = bar->SectionButtons()[0];
    const TPoint corner = first->ClientToScreen(TPoint { 1, 1 });
    const TPoint origin = Form->ClientToScreen(TPoint { 0, 0 });
    EXPECT_NE(first->GetSkinIndex(), -1);
    EXPECT_EQ(At(corner.X - origin.X, corner.Y - origin.Y), Sheet(161, 171));
    for (TspSectionItem* item : bar->SectionItems())
        EXPECT_EQ(item->SkinDataName(), "resizebutton");
}

#ifdef TP_SKIN_DIR
TEST_F(SkinButtonsBarTest, TheProgramsSkinDressesTheBarItsItemsAndItsArrows)
{
    auto* program = new TspSkinData(Application);
    program->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
    ASSERT_FALSE(program->Empty);
    auto* bar = Bar(3, 6, 200, program);
    EXPECT_NE(bar->GetSkinIndex(), -1);
    // The program's skin has no tool-button record: the section buttons keep their default look.
    for (TspSectionButton* button : bar->SectionButtons())
        EXPECT_EQ(button->GetSkinIndex(), -1);
    for (TspSectionItem* item : bar->SectionItems()) {
        if (item->Visible()) {
            EXPECT_NE(item->GetSkinIndex(), -1);
        }
    }
    ASSERT_NE(bar->DownButton(), nullptr);
    EXPECT_NE(bar->DownButton()->GetSkinIndex(), -1);
    ClickControl(bar->DownButton());
    EXPECT_EQ(bar->FirstVisibleItem(), 1);
}
#endif

// ---- Scroll panel and tool bar -----------------------------------------------------------------------------------

class SkinScrollingTest : public SkinControlsTest {
protected:
    // `count` boxes of `w` x `h` in a row (a column when `vertical`) from the container's origin.
    static std::vector<TBox*> Fill(TWinControl* parent, int count, int w, int h, bool vertical = false)
    {
        std::vector<TBox*> boxes;
        for (int i = 0; i < count; ++i) {
            auto* box = new TBox(parent);
            box->SetParent(parent);
            box->SetBounds(vertical ? 0 : i * w, vertical ? i * h : 0, w, h);
            boxes.push_back(box);
        }
        return boxes;
    }

    // The hit code of a point given in the control's client coordinates.
    static LRESULT HitAt(TWinControl* control, int x, int y)
    {
        const TPoint p = control->ClientToScreen(TPoint { x, y });
        return SendMessage(control->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.X, p.Y));
    }

    void PointAt(TWinControl* control, int x, int y)
    {
        const TPoint p = control->ClientToScreen(TPoint { x, y });
        Backend.MouseMove(p.X, p.Y);
        Pump();
    }

    void Tick(int ms)
    {
        Backend.AdvanceClock(ms);
        Pump();
    }
    void Press()
    {
        Backend.MouseDown();
        Pump();
    }
    void Release()
    {
        Backend.MouseUp();
        Pump();
    }
};

TEST_F(SkinScrollingTest, AScrollPanelShowsArrowsOnlyWhileItsChildrenDoNotFitAndAnswersTheirHitCodes)
{
    auto* panel = Place<TspSkinScrollPanel>(10, 10, 150, 30, false);
    std::vector<TBox*> boxes = Fill(panel, 2, 100, 20);
    Pump();
    ASSERT_TRUE(panel->Arrows().Shown());
    EXPECT_EQ(panel->ClientWidth(), 150 - 24);
    EXPECT_EQ(panel->Range(), 199);
    EXPECT_EQ(panel->Page(), 126);
    EXPECT_EQ(HitAt(panel, -6, 10), 119);
    EXPECT_EQ(HitAt(panel, 126 + 6, 10), 120);
    EXPECT_EQ(HitAt(panel, 60, 10), HTCLIENT);
    // The default look of the buttons: a shadow frame on the button face, an arrow in the text colour.
    EXPECT_EQ(At(10, 10), Rgb(clBtnShadow));
    EXPECT_EQ(At(10 + 3, 10 + 2), Rgb(clBtnFace));
    // Forward by the client width, but no further than the children's end: 199 - 126 + 1.
    PointAt(panel, 126 + 6, 10);
    Press();
    Release();
    EXPECT_EQ(panel->Position(), 74);
    EXPECT_EQ(boxes[0]->Left(), -74);
    // Back to the start.
    PointAt(panel, -6, 10);
    Press();
    Release();
    EXPECT_EQ(panel->Position(), 0);
    EXPECT_EQ(boxes[0]->Left(), 0);
    // Children that fit: no buttons, the whole width is client area.
    boxes[1]->SetVisible(false);
    Pump();
    EXPECT_FALSE(panel->Arrows().Shown());
    EXPECT_EQ(panel->ClientWidth(), 150);
    EXPECT_EQ(HitAt(panel, 2, 10), HTCLIENT);
}

TEST_F(SkinScrollingTest, AHeldArrowRepeatsOnTheTimerAndStopsAtTheEnd)
{
    auto* panel = Place<TspSkinScrollPanel>(10, 10, 150, 30, false);
    panel->SetScrollOffset(30);
    for (int bad : { -1 })
        panel->SetScrollOffset(bad);
    EXPECT_EQ(panel->ScrollOffset(), 30);
    panel->SetScrollTimerInterval(0);
    EXPECT_EQ(panel->ScrollTimerInterval(), 50);
    Fill(panel, 2, 100, 20);
    Pump();
    PointAt(panel, 126 + 6, 10);
    Press();
    EXPECT_EQ(panel->Arrows().TimerMode(), 2);
    EXPECT_EQ(panel->Position(), 0) << "the press itself does not step";
    std::vector<int> positions;
    for (int i = 0; i < 5; ++i) {
        Tick(50);
        positions.push_back(panel->Position());
    }
    EXPECT_EQ(positions, (std::vector<int> { 30, 60, 74, 74, 74 }));
    EXPECT_EQ(panel->Arrows().TimerMode(), 0) << "the step that could not move stopped the timer";
    Release();
    EXPECT_EQ(panel->Position(), 74);

    // HotScroll: hovering alone scrolls back; moving into the client area stops it.
    panel->SetHotScroll(true);
    PointAt(panel, -6, 10);
    EXPECT_TRUE(panel->Arrows().MouseIn(0));
    Tick(50);
    EXPECT_EQ(panel->Position(), 44);
    PointAt(panel, 60, 10);
    EXPECT_FALSE(panel->Arrows().MouseIn(0));
    Tick(50);
    EXPECT_EQ(panel->Position(), 44);
}

TEST_F(SkinScrollingTest, AGrowingPanelPullsItsChildrenBackByAtMostTheGrowth)
{
    auto* panel = Place<TspSkinScrollPanel>(10, 10, 150, 30, false);
    panel->SetAlign(alNone);
    std::vector<TBox*> boxes = Fill(panel, 2, 100, 20);
    Pump();
    panel->ButtonClick(1);
    ASSERT_EQ(panel->Position(), 74);
    struct TCase {
        int Width, Position, FirstLeft;
        bool Shown;
    };
    // 30 wider: back by 30. Then wide enough for all: back to 0 and no buttons.
    for (const TCase& c : { TCase { 180, 44, -44, true }, TCase { 400, 0, 0, false } }) {
        SCOPED_TRACE(c.Width);
        panel->SetBounds(10, 10, c.Width, 30);
        Pump();
        EXPECT_EQ(panel->Position(), c.Position);
        EXPECT_EQ(boxes[0]->Left(), c.FirstLeft);
        EXPECT_EQ(panel->Arrows().Shown(), c.Shown);
    }
}

TEST_F(SkinScrollingTest, AVerticalPanelStepsByItsClientWidthAndTakesTheKeysWhenItMayFocus)
{
    auto* panel = Place<TspSkinScrollPanel>(10, 10, 60, 100, false);
    panel->SetScrollType(stVertical);
    std::vector<TBox*> boxes = Fill(panel, 2, 50, 80, true);
    Pump();
    ASSERT_TRUE(panel->Arrows().Shown());
    EXPECT_EQ(panel->ClientHeight(), 100 - 24);
    EXPECT_EQ(HitAt(panel, 10, -6), 119);
    EXPECT_EQ(HitAt(panel, 10, 76 + 6), 120);
    panel->ButtonClick(1);
    EXPECT_EQ(panel->Position(), 60) << "the client width, not its height";
    EXPECT_EQ(boxes[0]->Top(), -60);
    // Keys reach the panel only when it may take the focus.
    panel->SetCanFocused(true);
    panel->SetFocus();
    Pump();
    PostMessage(panel->Handle(), WM_KEYDOWN, VK_UP, 0);
    Pump();
    EXPECT_EQ(panel->Position(), 0);
}

TEST_F(SkinScrollingTest, TheArrowsTakeTheResizeButtonRecordAndTheBackgroundTheClientPiece)
{
    Fixture.AddControl("resizebutton", "button",
        { { "pictureindex", "0" }, { "skinrect", "160,170,200,190" }, { "activeskinrect", "200,170,240,190" },
            { "lefttoppoint", "4,4" }, { "righttoppoint", "36,4" }, { "leftbottompoint", "4,16" },
            { "rightbottompoint", "36,16" }, { "clientrect", "4,4,36,16" } });
    auto* skin = new TspSkinData(Application);
    skin->LoadFromFile(Fixture.Write());
    ASSERT_FALSE(skin->Empty);
    auto* panel = Place<TspSkinScrollPanel>(10, 10, 150, 30, false);
    panel->SetSkinData(skin);
    Fill(panel, 2, 100, 20);
    Pump();
    ASSERT_TRUE(panel->Arrows().Shown());
    panel->Invalidate();
    // The back button's corner from the button face, and, under the pointer, from its hot face.
    EXPECT_EQ(At(10 + 1, 10 + 1), Sheet(161, 171));
    PointAt(panel, -6, 10);
    EXPECT_EQ(At(10 + 1, 10 + 1), Sheet(201, 171));
    // The "panel" record's client piece (6, 156) tiles the client area.
    EXPECT_EQ(At(10 + 12 + 50, 10 + 25), Sheet(6 + 50 % 48, 156 + 25 % 28));
}

TEST_F(SkinScrollingTest, AToolBarScrollsOnlyWithCanScrollAndCentresItsChildren)
{
    auto* bar = Place<TspSkinToolBar>(10, 10, 150, 40, false);
    bar->SetAlign(alNone);
    std::vector<TBox*> boxes = Fill(bar, 2, 100, 20);
    auto* aligned = new TBox(bar);
    aligned->SetParent(bar);
    aligned->SetAlign(alRight);
    aligned->SetWidth(5);
    Pump();
    // Without CanScroll the children overflow, with neither arrows nor a shifted client area.
    EXPECT_FALSE(bar->Arrows().Shown());
    EXPECT_EQ(bar->ClientWidth(), 150);
    EXPECT_EQ(HitAt(bar, 2, 10), HTCLIENT);
    // Unskinned, unaligned children stand in the middle of the client height; an aligned one is left alone.
    const TRect client = bar->GetSkinClientRect();
    EXPECT_EQ(boxes[0]->Top(), client.Top + (client.Bottom - client.Top) / 2 - 10);
    EXPECT_EQ(aligned->Top(), client.Top);

    bar->SetCanScroll(true);
    Pump();
    ASSERT_TRUE(bar->Arrows().Shown());
    EXPECT_EQ(bar->ClientWidth(), 150 - 24);
    EXPECT_EQ(HitAt(bar, -6, 10), 119);
    EXPECT_EQ(HitAt(bar, bar->ClientWidth() + 6, 10), 120);
    PointAt(bar, bar->ClientWidth() + 6, 10);
    Press();
    Release();
    EXPECT_GT(bar->Position(), 0);
    EXPECT_EQ(boxes[0]->Left(), -bar->Position());
    // Scrolling switched off brings the children home.
    bar->SetCanScroll(false);
    Pump();
    EXPECT_EQ(boxes[0]->Left(), 0);
    EXPECT_FALSE(bar->Arrows().Shown());
}

TEST_F(SkinScrollingTest, ToolBarCaptionsWidthsAndRecordNamesFollowTheBar)
{
    auto* bar = Place<TspSkinToolBar>(10, 10, 150, 30, false);
    bar->SetAlign(alNone);
    auto* button = new TspSkinSpeedButton(bar);
    button->SetParent(bar);
    button->SetBounds(0, 0, 40, 20);
    auto* menuButton = new TspSkinMenuSpeedButton(bar);
    menuButton->SetParent(bar);
    menuButton->SetTrackButtonMode(true);
    Pump();
    // Skinned children centre themselves: (30 - 20) / 2 within a client area of 30 without a record.
    EXPECT_EQ(button->Top(), bar->GetSkinClientRect().Top + (bar->GetSkinClientRect().Bottom - bar->GetSkinClientRect().Top) / 2 - 10);
    // Only one of the two widths: the bar keeps its width.
    bar->SetWidthWithCaptions(200);
    bar->SetAutoShowHideCaptions(true);
    bar->SetShowCaptions(true);
    EXPECT_EQ(bar->Width(), 150);
    EXPECT_TRUE(button->ShowCaption());
    bar->SetWidthWithoutCaptions(90);
    bar->SetShowCaptions(false);
    EXPECT_EQ(bar->Width(), 90);
    EXPECT_FALSE(button->ShowCaption());
    bar->SetFlat(true);
    EXPECT_TRUE(button->Flat());
    // Renaming the bar renames its buttons' records at design time only.
    bar->SetSkinDataName("bigtoolpanel");
    EXPECT_EQ(button->SkinDataName(), "toolbutton");
    bar->SetComponentStateItem(csDesigning, true);
    struct TCase {
        const char *Bar, *Button, *Menu;
    };
    for (const TCase& c : { TCase { "bigtoolpanel", "bigtoolbutton", "bigtoolmenutrackbutton" },
             TCase { "panel", "resizebutton", "resizebutton" }, TCase { "other", "toolbutton", "toolmenutrackbutton" } }) {
        bar->SetSkinDataName(c.Bar);
        EXPECT_EQ(button->SkinDataName(), c.Button) << c.Bar;
        EXPECT_EQ(menuButton->SkinDataName(), c.Menu) << c.Bar;
    }
    bar->SetComponentStateItem(csDesigning, false);
}

#ifdef TP_SKIN_DIR
TEST_F(SkinScrollingTest, TheProgramsSkinDressesTheScrollPanelTheToolBarAndTheirArrows)
{
    auto* program = new TspSkinData(Application);
    program->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
    ASSERT_FALSE(program->Empty);
    auto* panel = Place<TspSkinScrollPanel>(10, 10, 150, 30, false);
    Fill(panel, 2, 100, 20);
    Pump();
    ASSERT_TRUE(panel->Arrows().Shown());
    auto backButton = [this] {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 12; ++x)
                pixels.push_back(At(10 + x, 10 + y));
        return pixels;
    };
    const std::vector<uint32_t> plain = backButton();
    panel->SetSkinData(program);
    Pump();
    EXPECT_NE(panel->GetSkinIndex(), -1);
    EXPECT_NE(panel->Arrows().ButtonSkinIndex, -1);
    EXPECT_NE(backButton(), plain) << "the arrow button from the skin's resize button";
    panel->ButtonClick(1);
    EXPECT_EQ(panel->Position(), 74);

    // The program's skin has no tool-panel record: the tool bar keeps its default look and default arrows.
    auto* bar = Place<TspSkinToolBar>(10, 60, 150, 30, false);
    bar->SetAlign(alNone);
    bar->SetCanScroll(true);
    Fill(bar, 2, 100, 20);
    bar->SetSkinData(program);
    Pump();
    EXPECT_EQ(bar->GetSkinIndex(), -1);
    EXPECT_EQ(bar->Arrows().Skin, nullptr);
    EXPECT_TRUE(bar->Arrows().Shown());
    EXPECT_EQ(At(10, 60), Rgb(clBtnShadow));
}
#endif

} // namespace
