// The skinned containers that lay out or hide what they hold, on the headless display: radio and check groups,
// with the fixture skin and the program's own; the expandable panel; the splitters; the control bar; the slider.
#include "framework/core/Streams.h"
#include "framework/core/TFiler.h"
#include "framework/core/TStrings.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/controls/SkinControlBar.h"
#include "skin/controls/SkinExPanel.h"
#include "skin/controls/SkinPanels.h"
#include "skin/core/SkinMessages.h"
#include "skin/controls/SkinGroups.h"
#include "skin/controls/SkinSlider.h"
#include "skin/controls/SkinSplitters.h"
#include "skin/controls/SkinSpeedButtons.h"
#include "skin/controls/SkinToolBar.h"
#include "framework/controls/ExtCtrls.h"
#include "platform/win/VirtualKeys.h"
#include "tests/skin/SkinControlsTestSupport.h"

#include <string>
#include <vector>

namespace {

// A radio group whose client area is fixed, so that the layout's arithmetic shows in whole numbers.
class TFixedClientRadioGroup : public TspSkinRadioGroup {
public:
    using TspSkinRadioGroup::TspSkinRadioGroup;

protected:
    void AdjustClientRect(TRect& rect) override { rect = Rect(4, 20, 204, 110); }
};

class SkinContainersTest : public SkinControlsTest {
protected:
    template <class T> T* Group(std::initializer_list<const char*> items, bool skinned = false)
    {
        auto* group = Place<T>(10, 10, 208, 114, skinned);
        group->OnClick = [this](TObject*) { ++GroupClicks; };
        for (const char* item : items)
            group->Items()->Add(item);
        Pump();
        return group;
    }

    static std::string Bounds(const TControl* c)
    {
        return std::to_string(c->Left()) + "," + std::to_string(c->Top()) + " " + std::to_string(c->Width()) + "x"
            + std::to_string(c->Height());
    }

    void ClickOn(TControl* control)
    {
        const TPoint p = control->ClientToScreen(TPoint { 5, control->Height() / 2 });
        Backend.MouseMove(p.X, p.Y);
        Pump();
        Backend.MouseDown();
        Pump();
        Backend.MouseUp();
        Pump();
    }

    int GroupClicks = 0;
};

// ---- Radio and check groups -----------------------------------------------------------------------------------

TEST_F(SkinContainersTest, ARadioGroupClampsItsIndexAndClicksOnlyWhenAButtonBecomesChecked)
{
    auto* group = Group<TspSkinRadioGroup>({ "One", "Two", "Three" });
    ASSERT_EQ(group->ButtonCount(), 3);
    struct TCase {
        int Set, Index, Clicks;
    };
    for (const TCase& c : { TCase { 99, 2, 1 }, TCase { 1, 1, 1 }, TCase { 1, 1, 0 }, TCase { -5, -1, 0 } }) {
        GroupClicks = 0;
        group->SetItemIndex(c.Set);
        EXPECT_EQ(group->ItemIndex(), c.Index) << c.Set;
        EXPECT_EQ(GroupClicks, c.Clicks) << c.Set;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(group->Buttons(i)->Checked(), i == c.Index) << c.Set << " button " << i;
    }
    // Deleting the selected item's tail moves the index to the last item, checked without a click.
    group->SetItemIndex(2);
    GroupClicks = 0;
    group->Items()->Delete(2);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_TRUE(group->Buttons(1)->Checked());
    EXPECT_EQ(GroupClicks, 0);
    // A click on another button selects it and tells the group.
    TControl* button = group->Buttons(0);
    ClickOn(button);
    EXPECT_EQ(group->ItemIndex(), 0);
    EXPECT_FALSE(group->Buttons(1)->Checked());
    EXPECT_EQ(GroupClicks, 1);
}

TEST_F(SkinContainersTest, ButtonsFillColumnsTopToBottomAndRightToLeftStartsAtTheRight)
{
    auto* group = Group<TFixedClientRadioGroup>({ "a", "b", "c", "d", "e" });
    for (const auto& [set, columns] : { std::pair { 0, 1 }, std::pair { 20, 16 }, std::pair { 2, 2 } }) {
        group->SetColumns(set);
        EXPECT_EQ(group->Columns(), columns) << set;
    }
    // 3 buttons a column, 200 / 2 - 2 = 98 wide, 90 / 3 = 30 high.
    const std::vector<std::string> leftToRight { "5,20 98x30", "5,50 98x30", "5,80 98x30", "103,20 98x30",
        "103,50 98x30" };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Bounds(group->Buttons(i)), leftToRight[size_t(i)]) << i;
        EXPECT_TRUE(group->Buttons(i)->Visible());
    }
    group->SetBiDiMode(bdRightToLeft);
    group->ArrangeButtons();
    // Mirrored inside the client area (4 .. 204): no button crosses its left edge.
    EXPECT_EQ(Bounds(group->Buttons(0)), "105,20 98x30");
    EXPECT_EQ(Bounds(group->Buttons(3)), "7,20 98x30");
    EXPECT_GT(group->Buttons(0)->Left(), group->Buttons(3)->Left());
    // A group narrower than its columns gives empty buttons, never negative sizes.
    group->SetBiDiMode(bdLeftToRight);
    group->SetColumns(16);
    group->SetBounds(10, 10, 20, 10);
    auto* tiny = Group<TspSkinRadioGroup>({ "a", "b" });
    tiny->SetColumns(16);
    tiny->SetBounds(10, 10, 12, 8);
    for (int i = 0; i < 2; ++i) {
        EXPECT_GE(tiny->Buttons(i)->Width(), 0) << Bounds(tiny->Buttons(i));
        EXPECT_GE(tiny->Buttons(i)->Height(), 0) << Bounds(tiny->Buttons(i));
    }
}

TEST_F(SkinContainersTest, ACheckGroupKeepsAStatePerItemAndRemembersTheLastOneClicked)
{
    auto* group = Group<TspSkinCheckGroup>({ "One", "Two", "Three" });
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_FALSE(group->Buttons(0)->Radio());
    group->SetCheckedStatus(2, true);
    EXPECT_TRUE(group->GetCheckedStatus(2));
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_EQ(GroupClicks, 1);
    // Outside the range: ignored, and read as unchecked.
    group->SetCheckedStatus(3, true);
    group->SetCheckedStatus(-1, true);
    EXPECT_FALSE(group->GetCheckedStatus(3));
    EXPECT_FALSE(group->GetCheckedStatus(-1));
    EXPECT_EQ(GroupClicks, 1);
    // A click toggles an item; two checked items stay checked.
    TControl* button = group->Buttons(0);
    ClickOn(button);
    EXPECT_TRUE(group->GetCheckedStatus(0));
    EXPECT_TRUE(group->GetCheckedStatus(2));
    EXPECT_EQ(group->ItemIndex(), 0);
    EXPECT_EQ(GroupClicks, 2);
}

// A group that refuses changes, as a read-only data-bound one would.
class TLockedCheckGroup : public TspSkinCheckGroup {
public:
    using TspSkinCheckGroup::TspSkinCheckGroup;
    bool CanModify() override { return false; }
};

TEST_F(SkinContainersTest, AGroupThatCannotChangeIgnoresClicksAndTheSpaceKey)
{
    auto* group = Group<TLockedCheckGroup>({ "One" });
    TspSkinCheckRadioBox* button = group->Buttons(0);
    ClickOn(button);
    EXPECT_FALSE(button->Checked());
    ASSERT_TRUE(button->Focused());
    Backend.KeyDown(VK_SPACE);
    Backend.KeyUp(VK_SPACE);
    Pump();
    EXPECT_FALSE(button->Checked());
    EXPECT_EQ(GroupClicks, 0);
}

TEST_F(SkinContainersTest, TheGroupsButtonsTakeTheGroupsSkinAndButtonRecord)
{
    auto* group = Group<TspSkinRadioGroup>({ "One", "Two" }, true);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(group->Buttons(i)->SkinData(), Skin);
        EXPECT_EQ(group->Buttons(i)->SkinDataName(), "radiobox");
        EXPECT_EQ(group->Buttons(i)->ImageIndex(), i);
    }
    group->SetButtonSkinDataName("checkbox");
    EXPECT_EQ(group->Buttons(1)->SkinDataName(), "checkbox");
    // The buttons stand in the group's skinned client area.
    const TRect client = group->GetSkinClientRect();
    EXPECT_EQ(group->Buttons(0)->Top(), client.Top);
    EXPECT_EQ(group->Buttons(0)->Left(), client.Left + 1);
    group->SetEnabled(false);
    EXPECT_FALSE(group->Buttons(1)->Enabled());
}

#ifdef TP_SKIN_DIR
TEST_F(SkinContainersTest, TheProgramsSkinDressesTheGroupAndItsButtons)
{
    auto* program = new TspSkinData(Application);
    program->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
    ASSERT_FALSE(program->Empty);
    auto* group = Group<TspSkinRadioGroup>({ "One", "Two", "Three" });
    group->SetSkinData(program);
    group->SetItemIndex(1);
    Pump();
    EXPECT_NE(group->GetSkinIndex(), -1);
    const TRect client = group->GetSkinClientRect();
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(group->Buttons(i)->GetSkinIndex(), -1) << i;
        EXPECT_EQ(group->Buttons(i)->Top(), client.Top + i * ((client.Bottom - client.Top) / 3)) << i;
    }
    EXPECT_TRUE(group->Buttons(1)->Checked());
}
#endif

// ---- The expandable panel --------------------------------------------------------------------------------------

TEST_F(SkinContainersTest, AnExpandablePanelRollsToItsCaptionAndBackEitherWay)
{
    struct TCase {
        TspExPanelRollKind Kind;
        const char* Rolled;
    };
    for (const TCase& c : { TCase { rkRollVertical, "150x21" }, TCase { rkRollHorizontal, "21x100" } }) {
        auto* panel = Place<TspSkinExPanel>(10, 10, 150, 100, false);
        auto* child = Place<TspSkinExPanel>(5, 30, 40, 40, false);
        child->SetParent(panel);
        int changes = 0;
        panel->OnChangeRollState = [&](TObject*) { ++changes; };
        panel->SetRollKind(c.Kind);
        panel->SetRollState(true);
        const std::string rolled = std::to_string(panel->Width()) + "x" + std::to_string(panel->Height());
        EXPECT_EQ(rolled, c.Rolled) << c.Kind;
        EXPECT_EQ(c.Kind == rkRollVertical ? panel->RealHeight() : panel->RealWidth(), c.Kind == rkRollVertical ? 100 : 150);
        EXPECT_FALSE(child->Visible());
        // Asked for another size while rolled, the rolled side stays.
        panel->SetBounds(10, 10, 150, 100);
        EXPECT_EQ(std::to_string(panel->Width()) + "x" + std::to_string(panel->Height()), c.Rolled);
        // The kind changed while rolled: the panel still unrolls the side it rolled.
        panel->SetRollKind(c.Kind == rkRollVertical ? rkRollHorizontal : rkRollVertical);
        panel->SetRollState(false);
        EXPECT_EQ(Bounds(panel), "10,10 150x100") << c.Kind;
        EXPECT_EQ(panel->RealHeight(), 0);
        EXPECT_EQ(panel->RealWidth(), 0);
        EXPECT_TRUE(child->Visible());
        EXPECT_EQ(changes, 2);
        delete panel;
    }
}

TEST_F(SkinContainersTest, TheRollButtonActsOnlyWhenReleasedOverItAndCloseHidesThePanel)
{
    auto* panel = Place<TspSkinExPanel>(10, 10, 150, 100, false);
    int changes = 0;
    int closes = 0;
    panel->OnChangeRollState = [&](TObject*) { ++changes; };
    panel->OnClose = [&](TObject*) { ++closes; };
    Pump();
    // Default look, buttons of 21 - 6 = 15: close at the right, roll before it.
    EXPECT_EQ(panel->ButtonRect(0).Right, 148);
    EXPECT_EQ(panel->ButtonRect(1).Right, panel->ButtonRect(0).Left);
    const TRect roll = panel->ButtonRect(1);
    const TPoint at = panel->ClientToScreen(TPoint { (roll.Left + roll.Right) / 2, (roll.Top + roll.Bottom) / 2 });
    Backend.MouseMove(at.X, at.Y);
    Pump();
    Backend.MouseDown();
    Pump();
    Backend.MouseMove(at.X - 60, at.Y + 50);
    Pump();
    Backend.MouseUp();
    Pump();
    EXPECT_FALSE(panel->RollState());
    EXPECT_EQ(changes, 0);
    Backend.MouseMove(at.X, at.Y);
    Pump();
    Backend.MouseDown();
    Pump();
    Backend.MouseUp();
    Pump();
    EXPECT_TRUE(panel->RollState());
    EXPECT_EQ(panel->Height(), 21);
    EXPECT_EQ(changes, 1);
    // Without its close button the roll button takes its place at the right.
    panel->SetShowCloseButton(false);
    Pump();
    EXPECT_EQ(panel->ButtonRect(1).Right, 148);
    panel->SetShowCloseButton(true);
    Pump();
    const TRect close = panel->ButtonRect(0);
    const TPoint x = panel->ClientToScreen(TPoint { (close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2 });
    Backend.MouseMove(x.X, x.Y);
    Pump();
    Backend.MouseDown();
    Pump();
    Backend.MouseUp();
    Pump();
    EXPECT_FALSE(panel->Visible());
    EXPECT_EQ(closes, 1);
}

TEST_F(SkinContainersTest, ASkinnedExpandablePanelRollsToItsRecordsStripAndShowsItsButtonPictures)
{
    TFixtureSkin fixture;
    fixture.AddActivePicture("sheet.bmp", 240, 200, kSeed);
    // A 60 x 40 nine-part face with a 6-pixel caption band; a 60 x 18 rolled strip at y 60; 10 x 10 buttons.
    fixture.AddControl("expanel", "expanel",
        { { "pictureindex", "0" }, { "skinrect", "0,0,60,40" }, { "lefttoppoint", "6,16" }, { "righttoppoint", "54,16" },
            { "leftbottompoint", "6,34" }, { "rightbottompoint", "54,34" }, { "clientrect", "6,16,54,34" },
            { "captionrect", "4,3,56,15" }, { "rollvskinrect", "0,60,60,78" }, { "rollleftoffset", "5" },
            { "rollrightoffset", "5" }, { "rollvcaptionrect", "4,4,56,14" }, { "closebuttonrect", "100,0,110,10" },
            { "closebuttonactiverect", "110,0,120,10" }, { "closebuttondownrect", "120,0,130,10" },
            { "vrollbuttonrect", "100,20,110,30" }, { "vrestorebuttonrect", "130,20,140,30" } });
    auto* skin = new TspSkinData(Application);
    skin->LoadFromFile(fixture.Write());
    ASSERT_FALSE(skin->Empty);
    auto* panel = Place<TspSkinExPanel>(10, 10, 150, 100, false);
    panel->SetSkinData(skin);
    Pump();
    ASSERT_NE(panel->GetSkinIndex(), -1);
    EXPECT_EQ(panel->GetRollHeight(), 18);
    const TRect close = panel->ButtonRect(0);
    EXPECT_EQ(close.Right, 56 + 150 - 60);
    EXPECT_EQ(close.Top, 3);
    EXPECT_EQ(At(10 + close.Left + 2, 10 + close.Top + 2), Sheet(100 + 2, 0 + 2)) << "the close button's picture";
    const TRect roll = panel->ButtonRect(1);
    EXPECT_EQ(roll.Right, close.Left - 2);
    EXPECT_EQ(At(10 + roll.Left + 2, 10 + roll.Top + 2), Sheet(100 + 2, 20 + 2)) << "the roll button's picture";
    panel->SetRollState(true);
    Pump();
    EXPECT_EQ(panel->Height(), 18);
    EXPECT_EQ(panel->ButtonRect(0).Top, 4);
    EXPECT_EQ(At(10 + panel->ButtonRect(1).Left + 2, 10 + 4 + 2), Sheet(130 + 2, 20 + 2)) << "the restore picture";
    // The strip's left end is the record's, unstretched.
    EXPECT_EQ(At(10 + 1, 10 + 1), Sheet(1, 60 + 1));
}

// ---- Splitters ---------------------------------------------------------------------------------------------------

class SkinSplittersTest : public SkinContainersTest {
protected:
    // A panel aligned to `align` with `size`, and a splitter against it.
    TspSkinSplitterEx* Split(TAlign align, int size)
    {
        Sibling = new TPanel(Form);
        Sibling->SetParent(Form);
        Sibling->SetBounds(0, 0, size, size);
        Sibling->SetAlign(align);
        auto* splitter = new TspSkinSplitterEx(Form);
        splitter->SetParent(Form);
        // Placed just beyond the sibling, so that alignment keeps it there.
        splitter->SetBounds(align == alLeft ? size : 0, align == alTop ? size : 300 - size - 3, 3, 3);
        splitter->SetAlign(align);
        splitter->OnMoved = [this](TObject*) { ++Moves; };
        Pump();
        return splitter;
    }

    void Drag(TControl* splitter, int dx, int dy, bool release = true)
    {
        const TPoint p = splitter->ClientToScreen(TPoint { 1, 1 });
        Backend.MouseMove(p.X, p.Y);
        Pump();
        Backend.MouseDown();
        Pump();
        Backend.MouseMove(p.X + dx, p.Y + dy);
        Pump();
        if (release) {
            Backend.MouseUp();
            Pump();
        }
    }

    TPanel* Sibling = nullptr;
    int Moves = 0;
};

TEST_F(SkinSplittersTest, ALeftSplitterSizesItsSiblingLiveAndSnapsBelowTheMinimum)
{
    auto* splitter = Split(alLeft, 100);
    EXPECT_EQ(splitter->Left(), 100);
    Drag(splitter, 40, 0);
    EXPECT_EQ(Sibling->Width(), 140);
    EXPECT_EQ(Moves, 2) << "one change, then the end of the drag";
    // 140 - 115 = 25 is below MinSize 30: snapped to nothing.
    Drag(splitter, -115, 0);
    EXPECT_EQ(Sibling->Width(), 0);
    // A splitter that refuses sizes leaves the sibling alone.
    splitter->OnCanResize = [](TObject*, int&, bool& accept) { accept = false; };
    Drag(splitter, 50, 0);
    EXPECT_EQ(Sibling->Width(), 0);
}

TEST_F(SkinSplittersTest, ABottomSplitterDraggedUpGrowsItsSiblingUpward)
{
    auto* splitter = Split(alBottom, 60);
    const int top = Sibling->Top();
    Drag(splitter, 0, -20);
    EXPECT_EQ(Sibling->Height(), 80);
    EXPECT_EQ(Sibling->Top(), top - 20);
    EXPECT_EQ(splitter->Top() + splitter->Height(), Sibling->Top());
}

TEST_F(SkinSplittersTest, EscapeEndsADragAndGivesTheFocusedControlItsKeysBack)
{
    auto* edit = Place<TspSkinCheckRadioBox>(200, 10, 100, 20, false);
    edit->SetTabStop(true);
    edit->SetFocus();
    int ownKeys = 0;
    edit->OnKeyDown = [&](TObject*, uint16_t&, TShiftState) { ++ownKeys; };
    auto* splitter = Split(alLeft, 100);
    edit->SetFocus();
    Pump();
    Drag(splitter, 30, 0, false);
    EXPECT_EQ(Sibling->Width(), 130);
    ASSERT_NE(splitter->SizedControl(), nullptr);
    Backend.KeyDown(VK_ESCAPE);
    Pump();
    EXPECT_EQ(splitter->SizedControl(), nullptr);
    EXPECT_EQ(Sibling->Width(), 130) << "the sibling keeps what it reached";
    EXPECT_EQ(ownKeys, 0);
    EXPECT_EQ(Moves, 2);
    Backend.MouseUp();
    Pump();
    Backend.KeyDown('A');
    Pump();
    EXPECT_EQ(ownKeys, 1) << "the handler is back";
}

TEST_F(SkinSplittersTest, AParentWithoutRoomGivesTheSiblingNothingRatherThanANegativeSize)
{
    // Top bars taller than the form leave a maximum below zero.
    for (int i = 0; i < 2; ++i) {
        auto* bar = new TPanel(Form);
        bar->SetParent(Form);
        bar->SetBounds(0, 0, 50, 200);
        bar->SetAlign(alBottom);
        bar->SetVisible(false);
    }
    auto* splitter = Split(alTop, 50);
    splitter->SetAutoSnap(false);
    Drag(splitter, 0, 10);
    EXPECT_EQ(Sibling->Height(), 0);
}

TEST_F(SkinSplittersTest, TheSkinnedFacesTakeTheirThicknessAndPictureFromTheRecord)
{
    TFixtureSkin fixture;
    fixture.AddActivePicture("sheet.bmp", 240, 200, kSeed);
    fixture.AddControl("vsplitter", "splitter",
        { { "pictureindex", "0" }, { "skinrect", "0,0,6,40" }, { "lefttoppoint", "0,4" }, { "leftbottompoint", "0,36" },
            { "stretcheffect", "1" } });
    auto* skin = new TspSkinData(Application);
    skin->LoadFromFile(fixture.Write());
    ASSERT_FALSE(skin->Empty);
    auto* ex = Split(alLeft, 100);
    ex->SetSkinData(skin);
    Pump();
    EXPECT_EQ(ex->Width(), 6);
    EXPECT_EQ(At(ex->Left() + 2, 1), Sheet(2, 1)) << "the fixed top part";
    ex->SetAlign(alClient);
    Pump();
    EXPECT_EQ(At(ex->Left() + 2, 150), Rgb(clBtnFace));

    auto* plain = new TspSkinSplitter(Form);
    plain->SetParent(Form);
    plain->SetAlign(alRight);
    plain->SetSkinData(skin);
    Pump();
    EXPECT_EQ(plain->Width(), 6);
    EXPECT_EQ(At(plain->Left() + 2, 1), Sheet(2, 1));
    plain->SetTransparent(true);
    plain->ChangeSkinData();
    EXPECT_EQ(plain->Width(), 10) << "DefaultSize";
    plain->SetSkinData(nullptr);
    plain->SetTransparent(false);
    plain->ChangeSkinData();
    EXPECT_EQ(plain->Width(), 10);
}

// ---- The control bar ---------------------------------------------------------------------------------------------

// A control bar that counts its paints.
class TCountingControlBar : public TspSkinControlBar {
public:
    using TspSkinControlBar::TspSkinControlBar;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        TspSkinControlBar::Paint();
    }
};

class SkinControlBarTest : public SkinContainersTest {
protected:
    void SetUp() override
    {
        SkinContainersTest::SetUp();
        BarFixture.AddActivePicture("sheet.bmp", 240, 200, kSeed);
        // A 30 x 30 face with 10-pixel borders around a 10 x 10 client piece; a 40 x 30 band frame at (40, 0).
        BarFixture.AddControl("controlbar", "controlbar",
            { { "pictureindex", "0" }, { "skinrect", "0,0,30,30" }, { "clientrect", "10,10,20,20" },
                { "lefttoppoint", "10,10" }, { "righttoppoint", "20,10" }, { "leftbottompoint", "10,20" },
                { "rightbottompoint", "20,20" }, { "itemrect", "40,0,80,30" }, { "itemoffset1", "3" },
                { "itemoffset2", "3" } });
        BarSkin = new TspSkinData(Application);
        BarSkin->LoadFromFile(BarFixture.Write());
        ASSERT_FALSE(BarSkin->Empty);
    }

    TFixtureSkin BarFixture;
    TspSkinData* BarSkin = nullptr;
};

TEST_F(SkinControlBarTest, TheClientPieceTilesTheBackgroundCutAtTheEdges)
{
    auto* bar = Place<TCountingControlBar>(10, 10, 25, 15, false);
    bar->SetAutoSize(false);
    bar->SetBounds(10, 10, 25, 15);
    bar->SetSkinData(BarSkin);
    Pump();
    ASSERT_NE(bar->GetSkinIndex(), -1);
    EXPECT_EQ(bar->ClientWidth(), 25) << "SkinBevel off: no frame at all";
    // Three columns (the last 5 wide) and two rows (the last 5 high), each a copy of the piece at (10, 10).
    for (const auto& [x, y] : { std::pair { 2, 3 }, std::pair { 12, 3 }, std::pair { 22, 3 }, std::pair { 24, 14 } })
        EXPECT_EQ(At(10 + x, 10 + y), Sheet(10 + x % 10, 10 + y % 10)) << x << "," << y;
}

TEST_F(SkinControlBarTest, TheSkinBevelFramesTheBarAndABenPaintWithoutADCPaintsNothing)
{
    auto* bar = Place<TCountingControlBar>(10, 10, 200, 60, false);
    bar->SetAutoSize(false);
    bar->SetSkinData(BarSkin);
    RECT r { 0, 0, 200, 60 };
    SendMessage(bar->Handle(), WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.bottom, 60);
    bar->SetSkinBevel(true);
    Pump();
    r = RECT { 0, 0, 200, 60 };
    SendMessage(bar->Handle(), WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.right, 190);
    EXPECT_EQ(r.bottom, 50);
    EXPECT_EQ(At(10 + 2, 10 + 2), Sheet(2, 2)) << "the frame's corner";
    EXPECT_EQ(SendMessage(bar->Handle(), CM_BENCPAINT, 0, CM_BENCPAINTParam), LRESULT(CM_BENCPAINTParam));
}

TEST_F(SkinControlBarTest, ABandIsFramedFromTheItemPictureAndAMovedTransparentPanelRepaintsTheBar)
{
    auto* bar = Place<TCountingControlBar>(10, 10, 300, 80, false);
    bar->SetAutoSize(false);
    bar->SetSkinData(BarSkin);
    auto* child = new TspSkinPanel(Form);
    child->SetParent(bar);
    child->SetBounds(20, 10, 100, 22);
    Pump();
    const TRect band = TspSkinControlBar::BandRect(child);
    EXPECT_EQ(band.Right - band.Left, 113);
    EXPECT_EQ(band.Bottom - band.Top, 26);
    EXPECT_EQ(band.Left, child->Left() - 11);
    EXPECT_EQ(band.Top, child->Top() - 2);
    EXPECT_EQ(At(10 + band.Left, 10 + band.Top), Sheet(40, 0)) << "the band frame's corner";
    EXPECT_EQ(At(10 + band.Right - 1, 10 + band.Bottom - 1), Sheet(79, 29)) << "and its opposite corner";
    // A transparent panel on the bar brings the bar's frames along when it moves.
    child->SetTransparentMode(true);
    Pump();
    const int paints = bar->Paints;
    child->SetBounds(child->Left() + 30, child->Top(), 100, 22);
    EXPECT_GT(bar->Paints, paints);
}

TEST_F(SkinControlBarTest, ACoolBarFramesItselfAndDrawsRaisedGripsWithoutGripPictures)
{
    auto* bar = new TspSkinCoolBar(Form);
    bar->SetParent(Form);
    bar->SetAlign(alNone);
    bar->SetAutoSize(false);
    bar->SetBounds(10, 10, 300, 60);
    auto* child = new TspSkinPanel(Form);
    child->SetBounds(0, 0, 100, 22);
    child->SetParent(bar);
    Pump();
    bar->SetSkinData(BarSkin);
    Pump();
    ASSERT_NE(bar->GetSkinIndex(), -1);
    EXPECT_FALSE(bar->ReskinnedByForm());
    // SkinBevel is on: the record's 10-pixel margins are the frame.
    EXPECT_EQ(bar->ClientWidth(), 280);
    EXPECT_EQ(bar->ClientHeight(), 40);
    EXPECT_EQ(At(10 + 2, 10 + 2), Sheet(2, 2)) << "the frame's corner";
    // The grip before the band: two raised lines in the skin's colours, from 2 pixels after the caption start.
    const TRect c = child->BoundsRect();
    const int x0 = c.Left - bar->GetCaptionSize(bar->Bands()->Items(0));
    ASSERT_GT(x0 + 5, 0);
    const int y = 10 + 10 + c.Top + (c.Bottom - c.Top) / 2;
    EXPECT_EQ(At(10 + 10 + x0 + 2, y), Rgb(BarSkin->Colors->cBtnHighLight));
    EXPECT_EQ(At(10 + 10 + x0 + 3, y), Rgb(BarSkin->Colors->cBtnShadow));
    EXPECT_EQ(At(10 + 10 + x0 + 4, y), Rgb(BarSkin->Colors->cBtnHighLight));
    // The background between bands: the record's client piece, tiled.
    EXPECT_EQ(At(10 + 10 + 250, 10 + 10 + 35), Sheet(10 + 250 % 10, 10 + 35 % 10));
    EXPECT_EQ(SendMessage(bar->Handle(), CM_BENCPAINT, 0, CM_BENCPAINTParam), LRESULT(CM_BENCPAINTParam));
    // Without SkinBevel there is no frame at all.
    bar->SetSkinBevel(false);
    Pump();
    EXPECT_EQ(bar->ClientWidth(), 300);
}

TEST_F(SkinControlBarTest, AScrollingToolBarOnASkinnedCoolBarKeepsItsWindow)
{
    auto* bar = new TspSkinCoolBar(Form);
    bar->SetParent(Form);
    bar->SetAlign(alNone);
    bar->SetAutoSize(false);
    bar->SetBounds(10, 10, 300, 60);
    bar->SetSkinData(BarSkin);
    auto* tools = new TspSkinToolBar(Form);
    tools->SetAlign(alNone);
    tools->SetBounds(0, 0, 120, 25);
    tools->SetParent(bar);
    tools->SetCanScroll(true);
    Pump();
    const HWND before = tools->Handle();
    // Wider together than the band can be.
    for (int i = 0; i < 5; ++i) {
        auto* button = new TspSkinSpeedButton(tools);
        button->SetParent(tools);
        button->SetBounds(i * 100, 0, 100, 20);
    }
    Pump();
    EXPECT_TRUE(tools->Arrows().Shown());
    EXPECT_EQ(tools->Handle(), before);
    EXPECT_EQ(tools->ClientWidth(), tools->Width() - 24) << "the frame is calculated again all the same";
}

// ---- The slider --------------------------------------------------------------------------------------------------

TEST_F(SkinContainersTest, ASliderKeepsItsRangeAndStepsByWholeIncrements)
{
    auto* slider = Place<TspSkinSlider>(10, 10, 150, 40, false);
    slider->SetRange(5, 5);
    EXPECT_EQ(slider->MinValue(), 0);
    EXPECT_EQ(slider->MaxValue(), 100);
    slider->SetRange(0, 5);
    EXPECT_EQ(slider->Increment(), 5);
    slider->SetRange(0, 100);
    slider->SetIncrement(10);
    struct TCase {
        int From;
        TspJumpMode Kind;
        int To;
    };
    // Steps count from 0 in whole increments; halves round to even (15 / 10 = 1.5 gives 2).
    for (const TCase& c : { TCase { 14, jmNext, 20 }, TCase { 16, jmPrior, 10 }, TCase { 15, jmNext, 30 },
             TCase { 25, jmPrior, 10 }, TCase { 95, jmNext, 100 }, TCase { 40, jmHome, 0 }, TCase { 40, jmEnd, 100 } }) {
        slider->SetValue(c.From);
        slider->ThumbJump(c.Kind);
        EXPECT_EQ(slider->Value(), c.To) << c.From << " kind " << int(c.Kind);
    }
    // With MinValue 5 a key step still lands on a multiple of 10.
    slider->SetRange(5, 100);
    slider->SetValue(5);
    slider->ThumbJump(jmNext);
    EXPECT_EQ(slider->Value(), 10);
}

TEST_F(SkinContainersTest, ADragWithoutSmoothSnapsFromTheMinimumAndAVerticalSliderStartsAtTheBottom)
{
    auto* slider = Place<TspSkinSlider>(10, 10, 150, 40, false);
    slider->SetRange(5, 100);
    slider->SetOptions(TspSliderOptions { soShowPoints });
    std::vector<int> values;
    for (int offset = slider->GetOffsetByValue(5); offset <= slider->GetOffsetByValue(30); ++offset) {
        const int v = slider->GetValueByOffset(offset);
        if (values.empty() || values.back() != v)
            values.push_back(v);
    }
    EXPECT_EQ(values, (std::vector<int> { 5, 15, 25 }));
    int changed = 0;
    slider->OnChanged = [&](TObject*) { ++changed; };
    const TRect thumb = slider->ThumbRect();
    const TPoint p = slider->ClientToScreen(TPoint { thumb.Left + 2, thumb.Top + 2 });
    Backend.MouseMove(p.X, p.Y);
    Pump();
    Backend.MouseDown();
    Pump();
    Backend.MouseMove(p.X + slider->GetOffsetByValue(17) - thumb.Left, p.Y);
    Pump();
    EXPECT_EQ(slider->Value(), 15);
    EXPECT_EQ(slider->ThumbRect().Left, slider->GetOffsetByValue(15));
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(changed, 1);

    auto* vertical = Place<TspSkinSlider>(200, 10, 40, 150, false);
    vertical->SetOrientation(soVertical);
    EXPECT_EQ(vertical->ThumbRect().Bottom, vertical->RulerRect().Bottom);
    vertical->SetValue(100);
    EXPECT_EQ(vertical->ThumbRect().Top, vertical->RulerRect().Top);
}

TEST_F(SkinContainersTest, ARulerPressStepsAtOnceThenEveryFourHundredMillisecondsAndTellsOnceAtTheRelease)
{
    auto* slider = Place<TspSkinSlider>(10, 10, 150, 40, false);
    int changes = 0;
    int changed = 0;
    slider->OnChange = [&](TObject*) { ++changes; };
    slider->OnChanged = [&](TObject*) { ++changed; };
    const TRect ruler = slider->RulerRect();
    const TPoint p = slider->ClientToScreen(TPoint { slider->GetOffsetByValue(35), (ruler.Top + ruler.Bottom) / 2 });
    Backend.MouseMove(p.X, p.Y);
    Pump();
    Backend.MouseDown();
    Pump();
    EXPECT_EQ(slider->Value(), 10);
    std::vector<int> values;
    for (int ms = 0; ms < 2000; ms += 100) {
        Backend.AdvanceClock(100);
        Pump();
        values.push_back(slider->Value());
    }
    // 20 at 400 ms, 30 at 800; then the thumb covers the pointer and the steps stop.
    EXPECT_EQ(values[3], 20);
    EXPECT_EQ(values[7], 30);
    EXPECT_EQ(values.back(), 30);
    EXPECT_EQ(changed, 0);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(changes, 3);
}

TEST_F(SkinContainersTest, ASliderWithoutRoomOrWithARulerWithoutMiddleNeitherDividesByZeroNorDrawsOutside)
{
    auto* slider = Place<TspSkinSlider>(10, 10, 8, 8, false);
    EXPECT_EQ(slider->GetValueByOffset(20), slider->MinValue());
    slider->SetValue(50);
    EXPECT_EQ(slider->Value(), 50);
    TBitmap shortRuler;
    shortRuler.SetSize(4, 8);
    shortRuler.Canvas()->Brush()->SetColor(clRed);
    shortRuler.Canvas()->FillRect(Rect(0, 0, 4, 8));
    slider->SetBounds(10, 10, 150, 40);
    slider->SetImage(siHRuler, &shortRuler);
    Pump();
    // Ends of 2 leave no middle: the picture is stretched along the ruler.
    const TRect ruler = slider->RulerRect();
    EXPECT_EQ(ruler.Right - ruler.Left, 150 - 12);
    EXPECT_EQ(At(10 + ruler.Right - 3, 10 + ruler.Top + 1), Rgb(clRed));
    slider->SetImage(siHRuler, nullptr);
    EXPECT_EQ(slider->Image(siHRuler)->Width(), 10) << "the default picture is back";
}

TEST_F(SkinContainersTest, TheSliderTakesItsRulerAndThumbFromTheSkin)
{
    TFixtureSkin fixture;
    fixture.AddActivePicture("sheet.bmp", 240, 200, kSeed);
    fixture.AddControl("slider", "slider",
        { { "pictureindex", "0" }, { "hrulerrect", "0,100,40,106" }, { "hthumbrect", "50,100,70,112" },
            { "vrulerrect", "80,100,86,140" }, { "vthumbrect", "90,100,114,110" }, { "edgesize", "3" },
            { "bgcolor", "16777215" }, { "pointscolor", "255" } });
    auto* skin = new TspSkinData(Application);
    skin->LoadFromFile(fixture.Write());
    ASSERT_FALSE(skin->Empty);
    auto* slider = Place<TspSkinSlider>(10, 10, 150, 40, false);
    slider->SetSkinData(skin);
    Pump();
    ASSERT_NE(slider->GetSkinIndex(), -1);
    const TRect thumb = slider->ThumbRect();
    EXPECT_EQ(thumb.Right - thumb.Left, 10) << "half of the skin's two-state thumb";
    EXPECT_EQ(At(10 + thumb.Left + 1, 10 + thumb.Top + 1), Sheet(51, 101));
    EXPECT_EQ(At(10 + 1, 10 + 1), Rgb(clWhite)) << "the record's background";
    const TRect ruler = slider->RulerRect();
    EXPECT_EQ(At(10 + ruler.Right - 1, 10 + ruler.Top + 1), Sheet(39, 101)) << "the ruler's fixed end";
}

TEST_F(SkinContainersTest, ASliderStoresOnlyThePicturesTheUserGaveIt)
{
    auto* slider = Place<TspSkinSlider>(10, 10, 150, 40, false);
    auto write = [](TspSkinSlider* s, TspSkinSlider* ancestor = nullptr) {
        auto stream = std::make_unique<TMemoryStream>();
        TWriter writer(*stream);
        writer.SetAncestor(ancestor);
        writer.WriteProperties(*s);
        stream->SetPosition(0);
        return stream;
    };
    // Nothing of the user's: nothing stored but the end of the list.
    EXPECT_EQ(write(slider)->Size(), 1);
    TBitmap thumb;
    thumb.SetSize(20, 10);
    thumb.Canvas()->Brush()->SetColor(clRed);
    thumb.Canvas()->FillRect(Rect(0, 0, 20, 10));
    slider->SetImage(siHThumb, &thumb);
    EXPECT_EQ(slider->UserImages(), 0x01);

    auto* loaded = new TspSkinSlider(Form);
    loaded->SetComponentStateItem(csLoading, true);
    auto stream = write(slider);
    TReader(*stream).ReadProperties(*loaded);
    loaded->Loaded();
    EXPECT_EQ(loaded->UserImages(), 0x01);
    EXPECT_EQ(loaded->Image(siHThumb)->Width(), 20);
    EXPECT_EQ(loaded->Image(siHThumb)->Canvas()->Pixels(3, 3), clRed);
    EXPECT_EQ(loaded->Image(siHRuler)->Width(), 10) << "the default ruler";
    // Against an ancestor with the same pictures the byte is not stored.
    EXPECT_LT(write(slider, loaded)->Size(), write(slider)->Size());

    // A byte of the wrong length is refused and the slider keeps what it had.
    TMemoryStream bad;
    const uint8_t record[] = { 10, 'U', 's', 'e', 'r', 'I', 'm', 'a', 'g', 'e', 's', vaBinary, 2, 0, 0, 0, 0, 0, 0, 0,
        0x0F, 0x0F, 0 };
    bad.WriteBuffer(record, sizeof(record));
    bad.SetPosition(0);
    EXPECT_THROW(TReader(bad).ReadProperties(*loaded), EReadError);
    EXPECT_EQ(loaded->UserImages(), 0x01);

    // Giving the default back clears the bit and the opaque thumb.
    slider->SetOptions(TspSliderOptions { soShowPoints, soThumbOpaque });
    slider->SetImage(siHThumb, nullptr);
    EXPECT_EQ(slider->UserImages(), 0);
    EXPECT_FALSE(slider->Options().Contains(soThumbOpaque));
    EXPECT_EQ(slider->Image(siHThumb)->Width(), 18);
}

TEST_F(SkinContainersTest, ATransparentSliderShowsItsParentBehindTheRuler)
{
    auto* slider = Place<TspSkinSlider>(10, 10, 150, 40, false);
    slider->SetColor(clRed);
    slider->SetOptions(TspSliderOptions {});
    Pump();
    EXPECT_EQ(At(10 + 2, 10 + 2), Rgb(clRed));
    slider->SetTransparent(true);
    Pump();
    EXPECT_EQ(At(10 + 2, 10 + 2), Rgb(clWhite)) << "the form's colour";
    // Moved, it shows what lies behind its new place.
    Form->SetColor(clBlue);
    slider->SetBounds(20, 10, 150, 40);
    Pump();
    EXPECT_EQ(At(20 + 2, 10 + 2), Rgb(clBlue));
}

} // namespace
