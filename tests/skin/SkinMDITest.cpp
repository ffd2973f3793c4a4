// Skinned MDI forms on the headless display: a skinned main form with skinned children, tiled and cascaded in the
// work area its aligned bars leave, the children's own window states, the window menu, and the tab bar with its
// widths, clicks and drag reordering under real mouse input.
#include "framework/controls/Menus.h"
#include "framework/controls/TTimer.h"
#include "framework/graphics/TBitmap.h"
#include "platform/win/VirtualKeys.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinButtonObjects.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/forms/TspSkinMDITabsBar.h"
#include "skin/forms/TspSkinMainMenuBar.h"
#include "skin/menus/TspSkinMenu.h"
#include "skin/menus/TspSkinPopupWindow.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/framework/ControlsTestSupport.h"

#include <string>
#include <vector>

namespace {

class SkinMDITest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Application->CreateForm(Main);
        Main->SetName("Main");
        Main->SetFormStyle(fsMDIForm);
        Main->SetBounds(0, 0, 640, 480);
        MainSkin = new TspSkinForm(Main);
        Main->Show();
        Main->SetClientWidth(600);
        Main->SetClientHeight(450);
        Pump();
    }

    TForm* NewChild(const std::string& name, TFormBorderStyle border = bsSizeable)
    {
        auto* child = TCustomForm::Create<TForm>(Application);
        child->SetName(name);
        child->SetFormStyle(fsMDIChild);
        child->SetBorderStyle(border);
        child->SetCaption(name);
        child->SetBounds(10, 10, 200, 150);
        // The default frame with its caption buttons.
        (new TspSkinForm(child))->ChangeSkinData();
        child->Show();
        Pump();
        return child;
    }

    std::vector<TForm*> NewChildren(int count)
    {
        std::vector<TForm*> children;
        for (int i = 0; i < count; ++i)
            children.push_back(NewChild("Child" + std::to_string(i)));
        return children;
    }

    // A bar of `size` along `align` on the main form.
    TBox* AlignedBar(TAlign align, int size)
    {
        auto* bar = new TBox(Main);
        bar->SetParent(Main);
        bar->SetBounds(0, 0, size, size);
        bar->SetAlign(align);
        return bar;
    }

    TspSkinMDITabsBar* TabsBar(int width)
    {
        auto* bar = new TspSkinMDITabsBar(Main);
        bar->SetParent(Main);
        bar->SetBounds(0, 0, width, 21);
        MainSkin->SetMDITabsBar(bar);
        return bar;
    }

    static std::string Text(const TRect& r)
    {
        return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + ","
            + std::to_string(r.Bottom);
    }

    std::vector<std::string> TabOrder(TspSkinMDITabsBar* bar)
    {
        std::vector<std::string> order;
        for (int i = 0; i < bar->TabCount(); ++i)
            order.push_back(bar->TabAt(i)->TabForm->Name());
        return order;
    }

    TPoint OnScreen(TControl* control, int x, int y) { return control->ClientToScreen(TPoint { x, y }); }

    TForm* Main = nullptr;
    TspSkinForm* MainSkin = nullptr;
};

// ---- Arranging --------------------------------------------------------------------------------------------------

TEST_F(SkinMDITest, TileFillsColumnsFromTheRightAndEachColumnFromTheBottom)
{
    // A 600 x 450 work area. Rectangles are left, top, right, bottom, first child first.
    struct TCase {
        int Count;
        std::vector<std::string> Bounds;
    };
    const TCase cases[] = {
        { 1, { "0,0,600,450" } },
        { 3, { "0,0,600,150", "0,150,600,300", "0,300,600,450" } },
        { 4, { "0,0,300,225", "0,225,300,450", "300,0,600,225", "300,225,600,450" } },
        // The right column holds the last three at H div 3, the left one the first two at H div 2.
        { 5, { "0,0,300,225", "0,225,300,450", "300,0,600,150", "300,150,600,300", "300,300,600,450" } },
    };
    for (const TCase& c : cases) {
        std::vector<TForm*> children = NewChildren(c.Count);
        MainSkin->Tile();
        for (int i = 0; i < c.Count; ++i)
            EXPECT_EQ(Text(Main->MDIChildren(i)->BoundsRect()), c.Bounds[size_t(i)])
                << c.Count << " children, child " << i;
        for (TForm* child : children)
            delete child;
        Pump();
    }
    // Without children there is nothing to tile.
    MainSkin->Tile();
}

TEST_F(SkinMDITest, CascadeStepsByTheCaptionAndStartsAgainWhereAChildWouldLeaveTheArea)
{
    std::vector<TForm*> children = NewChildren(8);
    TForm* fixed = children[6];
    fixed->SetBorderStyle(bsSingle);
    fixed->SetBounds(0, 0, 120, 100);
    MainSkin->Cascade();
    // Step 22 (the default caption and its frame); five steps fit in the fifth of 600 left free, so every
    // sizeable child is 600 - 110 by 450 - 110. The last child sits at the top-left corner.
    struct TCase {
        int Child;
        std::string Bounds;
    };
    const TCase cases[] = {
        { 7, "0,0,490,340" },
        { 6, "22,22,142,122" }, // a single-border child keeps its own size
        { 5, "44,44,534,384" },
        { 2, "110,110,600,450" },
        { 1, "0,0,490,340" }, // 132 + 340 would leave the area: back to the corner
        { 0, "22,22,512,362" },
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Text(children[size_t(c.Child)]->BoundsRect()), c.Bounds) << "child " << c.Child;
}

TEST_F(SkinMDITest, CascadeUnderASkinWithoutCaptionBandStillSteps)
{
    // A skin whose client area starts at the very top gives no caption step; the default one stands in.
    TFixtureSkin fixture;
    fixture.SetPicture("picture", "frame.bmp", 100, 60, 3);
    fixture.Set("FORMINFO",
        { { "lefttoppoint", "10,10" }, { "righttoppoint", "90,10" }, { "leftbottompoint", "10,50" },
            { "rightbottompoint", "90,50" }, { "clientrect", "5,0,95,55" } });
    auto* skin = new TspSkinData(Application);
    skin->LoadFromFile(fixture.Write());
    ASSERT_FALSE(skin->Empty);
    MainSkin->SetSkinData(skin);
    Pump();
    ASSERT_TRUE(MainSkin->FormSkinned());
    ASSERT_EQ(MainSkin->CurClientRect.Top, 0);
    std::vector<TForm*> children = NewChildren(2);
    MainSkin->Cascade();
    EXPECT_EQ(children[1]->Left(), 0);
    EXPECT_EQ(children[0]->Left(), 22);
}

// ---- The work area and the children's window states -------------------------------------------------------------

TEST_F(SkinMDITest, TheWorkAreaIsWhatTheAlignedBarsLeaveAndMaximizedChildrenFillIt)
{
    AlignedBar(alTop, 30);
    AlignedBar(alLeft, 40);
    AlignedBar(alBottom, 20);
    Pump();
    TRect area {};
    MainSkin->GetMDIWorkArea(area);
    EXPECT_EQ(Text(area), "40,30,600,430");
    // The MDI client lies there, so children placed in it never lie under a bar.
    RECT client {};
    GetWindowRect(Main->ClientHandle(), &client);
    const TPoint origin = OnScreen(Main, 0, 0);
    EXPECT_EQ(client.left - origin.X, 40);
    EXPECT_EQ(client.top - origin.Y, 30);
    EXPECT_EQ(client.right - client.left, 560);

    TForm* a = NewChild("A");
    TForm* b = NewChild("B");
    TspSkinForm* skinA = GetSkinFormComponent(a);
    skinA->SetWindowState(wsMaximized);
    EXPECT_EQ(Text(a->BoundsRect()), "0,0,560,400");
    EXPECT_EQ(a->ClientWidth(), 560) << "a maximized child has no frame";
    EXPECT_TRUE(MainSkin->IsMDIChildMaximized());
    EXPECT_EQ(MainSkin->GetMaximizeMDIChild(), a);
    EXPECT_EQ(GetMDIChildSkinFormComponent(), skinA);
    Main->SetCaption("Main");
    EXPECT_EQ(MainSkin->CaptionText(), "Main - [A]");

    // A bar that grows narrows the area; the maximized child follows it.
    Main->SetClientWidth(500);
    Pump();
    EXPECT_EQ(Text(a->BoundsRect()), "0,0,460,400");

    skinA->SetWindowState(wsNormal);
    EXPECT_EQ(Text(a->BoundsRect()), "10,10,210,160");
    EXPECT_GT(a->Width() - a->ClientWidth(), 0) << "the frame is back";
    EXPECT_FALSE(MainSkin->IsMDIChildMaximized());
    EXPECT_EQ(MainSkin->GetMaximizeMDIChild(), nullptr);
    EXPECT_EQ(MainSkin->CaptionText(), "Main");

    // Minimized children line up along the bottom of the area, at the frame's size.
    skinA->SetWindowState(wsMinimized);
    GetSkinFormComponent(b)->SetWindowState(wsMinimized);
    const int minHeight = skinA->GetMinHeight();
    EXPECT_EQ(a->Left(), 0);
    EXPECT_EQ(a->Top(), 400 - minHeight);
    EXPECT_EQ(b->Left(), skinA->GetMinWidth());
    EXPECT_EQ(b->Top(), 400 - minHeight);
    // Restoring from minimized gives the normal bounds back.
    skinA->SetWindowState(wsNormal);
    EXPECT_EQ(Text(a->BoundsRect()), "10,10,210,160");
}

TEST_F(SkinMDITest, AChildsCaptionButtonsTakeClicksWhereTheChildShows)
{
    // The child's frame is in its MDI client: the clicks reach its caption buttons through the screen.
    AlignedBar(alTop, 30);
    TForm* a = NewChild("A");
    TspSkinForm* skinA = GetSkinFormComponent(a);
    auto buttonCentre = [&](TStdCommand command) {
        for (auto& object : skinA->SkinObjects)
            if (auto* button = dynamic_cast<TspSkinStdButtonObject*>(object.get()); button && button->Command == command) {
                RECT window {};
                GetWindowRect(a->Handle(), &window);
                const TRect& r = button->ObjectRect;
                return TPoint { window.left + (r.Left + r.Right) / 2, window.top + (r.Top + r.Bottom) / 2 };
            }
        ADD_FAILURE() << "no caption button";
        return TPoint {};
    };
    const TPoint maximize = buttonCentre(cmMaximize);
    Click(maximize.X, maximize.Y);
    EXPECT_EQ(skinA->WindowState(), wsMaximized);
    EXPECT_EQ(Text(a->BoundsRect()), "0,0,600,420");
    skinA->SetWindowState(wsNormal);
    const TPoint minimize = buttonCentre(cmMinimize);
    Click(minimize.X, minimize.Y);
    EXPECT_EQ(skinA->WindowState(), wsMinimized);
}

TEST_F(SkinMDITest, AMaximizedChildThatIsClosedLeavesNoMaximizedState)
{
    TForm* a = NewChild("A");
    GetSkinFormComponent(a)->SetWindowState(wsMaximized);
    ASSERT_TRUE(MainSkin->IsMDIChildMaximized());
    delete a;
    Pump();
    EXPECT_FALSE(MainSkin->IsMDIChildMaximized());
}

TEST_F(SkinMDITest, TheMDIClientShowsTheSkinsMDIBackgroundOrTheWorkspaceColour)
{
    AlignedBar(alTop, 30);
    Pump();
    auto clientPixel = [&](int x, int y) {
        RECT main {};
        RECT client {};
        GetWindowRect(Main->Handle(), &main);
        GetWindowRect(Main->ClientHandle(), &client);
        return Backend.WindowPixel(Main->Handle(), client.left - main.left + x, client.top - main.top + y) & 0xFFFFFF;
    };
    auto rgb = [](TColor color) {
        const uint32_t c = static_cast<uint32_t>(ColorToRGB(color));
        return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    };
    RedrawWindow(Main->ClientHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(clientPixel(10, 10), rgb(clAppWorkSpace));

    // A skin's MDI background is tiled from the client's corner; an index naming no picture gives the plain face.
    struct TCase {
        const char* Index;
        bool Picture;
    };
    for (const TCase& c : { TCase { "1", true }, TCase { "5", false } }) {
        TFixtureSkin fixture;
        fixture.SetPicture("picture", "frame.bmp", 100, 60, 3);
        fixture.AddActivePicture("active.bmp", 100, 60, 5);
        fixture.AddActivePicture("mdibg.bmp", 30, 20, 6);
        fixture.Set("FORMINFO",
            { { "lefttoppoint", "10,20" }, { "righttoppoint", "90,20" }, { "leftbottompoint", "10,55" },
                { "rightbottompoint", "90,55" }, { "clientrect", "5,20,95,55" }, { "mdibgpictureindex", c.Index } });
        auto* skin = new TspSkinData(Application);
        skin->LoadFromFile(fixture.Write());
        ASSERT_FALSE(skin->Empty);
        MainSkin->SetSkinData(skin);
        RedrawWindow(Main->ClientHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Pump();
        if (c.Picture) {
            EXPECT_EQ(clientPixel(5, 5), TFixtureSkin::PixelOf(5, 5, 6));
            EXPECT_EQ(clientPixel(30 + 5, 20 + 7), TFixtureSkin::PixelOf(5, 7, 6)) << "the tile repeats";
        } else {
            EXPECT_EQ(clientPixel(10, 10), rgb(clBtnFace));
        }
        MainSkin->SetSkinData(nullptr);
        delete skin;
    }
}

TEST_F(SkinMDITest, AStretchedMDIBackgroundOrALogoIsRepaintedWhollyWhenTheClientIsResized)
{
    auto clientPixel = [&](int x, int y) {
        RECT main {};
        RECT client {};
        GetWindowRect(Main->Handle(), &main);
        GetWindowRect(Main->ClientHandle(), &client);
        return Backend.WindowPixel(Main->Handle(), client.left - main.left + x, client.top - main.top + y) & 0xFFFFFF;
    };
    // Points of the client as it is before it grows.
    auto sample = [&] {
        std::vector<uint32_t> pixels;
        for (int x = 5; x < 560; x += 37)
            for (int y = 5; y < 420; y += 29)
                pixels.push_back(clientPixel(x, y));
        return pixels;
    };
    auto repaintWholly = [&] {
        RedrawWindow(Main->ClientHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Pump();
    };
    struct TCase {
        const char* Name;
        // FORMINFO values; none: no skin.
        TFixtureSkin::TKeyValues Info;
    };
    const TCase cases[] = {
        { "logo, no skin", {} },
        { "stretched MDI picture", { { "mdibgpictureindex", "1" }, { "mdibgstretcheffect", "1" } } },
        { "stretched form background", { { "mdibgpictureindex", "-1" }, { "stretcheffect", "1" } } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Main->SetBounds(0, 0, 640, 480);
        Pump();
        TFixtureSkin fixture;
        fixture.SetPicture("picture", "frame.bmp", 100, 60, 3);
        fixture.AddActivePicture("active.bmp", 100, 60, 5);
        fixture.AddActivePicture("mdibg.bmp", 30, 20, 6);
        fixture.Set("FORMINFO",
            { { "lefttoppoint", "10,20" }, { "righttoppoint", "90,20" }, { "leftbottompoint", "10,55" },
                { "rightbottompoint", "90,55" }, { "clientrect", "5,20,95,55" } });
        fixture.Set("FORMINFO", c.Info);
        std::unique_ptr<TspSkinData> skin;
        TBitmap logo;
        if (c.Info.empty()) {
            logo.SetSize(40, 30);
            logo.Canvas()->Brush()->SetColor(clRed);
            logo.Canvas()->FillRect(Rect(0, 0, 40, 30));
            MainSkin->SetLogoBitMap(&logo);
        } else {
            skin = std::make_unique<TspSkinData>(nullptr);
            skin->LoadFromFile(fixture.Write());
            ASSERT_FALSE(skin->Empty);
            MainSkin->SetSkinData(skin.get());
        }
        repaintWholly();
        const std::vector<uint32_t> before = sample();
        Main->SetBounds(0, 0, 760, 560);
        Pump();
        const std::vector<uint32_t> resized = sample();
        EXPECT_NE(resized, before) << "the background follows the size";
        repaintWholly();
        EXPECT_EQ(resized, sample()) << "nothing of the old size is left";
        MainSkin->SetSkinData(nullptr);
        TBitmap none;
        MainSkin->SetLogoBitMap(&none);
    }
}

// ---- The window menu --------------------------------------------------------------------------------------------

TEST_F(SkinMDITest, TheWindowMenuListsTheShownChildrenAndFollowsTheirCaptions)
{
    auto* menu = new TMainMenu(Main);
    auto* windowMenu = new TMenuItem(menu);
    windowMenu->SetCaption("&Window");
    menu->Items()->Add(windowMenu);
    Main->SetWindowMenu(windowMenu);
    TForm* a = NewChild("A");
    TForm* b = NewChild("B");
    auto items = [&] {
        std::vector<std::string> list;
        for (int i = 0; i < windowMenu->Count(); ++i) {
            TMenuItem* item = windowMenu->Items(i);
            list.push_back(item->Name() + "=" + item->Caption() + (item->Checked() ? "*" : ""));
        }
        return list;
    };
    EXPECT_EQ(items(), (std::vector<std::string> { "A_SKFCHILDITEM=A", "B_SKFCHILDITEM=B*" }));
    a->SetCaption("Report");
    a->Show();
    Pump();
    EXPECT_EQ(items(), (std::vector<std::string> { "A_SKFCHILDITEM=Report*", "B_SKFCHILDITEM=B" }));
    // The item of a minimized child restores and shows it.
    TspSkinForm* skinB = GetSkinFormComponent(b);
    skinB->SetWindowState(wsMinimized);
    windowMenu->Items(1)->Click();
    Pump();
    EXPECT_EQ(skinB->WindowState(), wsNormal);
    EXPECT_EQ(Main->ActiveMDIChild(), b);
    EXPECT_EQ(items(), (std::vector<std::string> { "A_SKFCHILDITEM=Report", "B_SKFCHILDITEM=B*" }));
    // Hidden or deleted children leave the menu.
    a->Hide();
    Pump();
    EXPECT_EQ(items(), (std::vector<std::string> { "B_SKFCHILDITEM=B*" }));
    delete b;
    Pump();
    EXPECT_TRUE(items().empty());
}

// ---- The tab bar ------------------------------------------------------------------------------------------------

TEST_F(SkinMDITest, TabsShareTheBarUpToTheWidestTabAndTheLastOneFillsACutBar)
{
    struct TCase {
        int BarWidth, Count;
        std::vector<int> Widths;
    };
    const TCase cases[] = {
        { 150, 2, { 75, 75 } },
        { 150, 1, { 100 } },
        { 200, 3, { 66, 66, 68 } },
        { 400, 3, { 100, 100, 100 } },
    };
    for (const TCase& c : cases) {
        TspSkinMDITabsBar* bar = TabsBar(c.BarWidth);
        std::vector<TForm*> children = NewChildren(c.Count);
        ASSERT_EQ(bar->TabCount(), c.Count);
        bar->CalcObjectRects();
        std::vector<int> widths;
        for (int i = 0; i < bar->TabCount(); ++i)
            widths.push_back(bar->TabAt(i)->TabRectangle.Right - bar->TabAt(i)->TabRectangle.Left);
        EXPECT_EQ(widths, c.Widths) << c.BarWidth << " px, " << c.Count << " tabs";
        EXPECT_TRUE(bar->TabAt(c.Count - 1)->TabActive) << "the active child's tab";
        // The boundary between two tabs belongs to the left one.
        if (c.Count > 1)
            EXPECT_EQ(bar->GetTabIndex(bar->TabAt(0)->TabRectangle.Right, 5), 0);
        EXPECT_EQ(bar->GetTabIndex(c.BarWidth + 5, 5), -1);
        for (TForm* child : children)
            delete child;
        EXPECT_EQ(bar->TabCount(), 0);
        delete bar;
    }
}

TEST_F(SkinMDITest, DraggingATabPastACentreMovesItThere)
{
    // Three 66-pixel tabs, the third 68: centres at 33, 99 and 166.
    struct TCase {
        int From, ReleaseX;
        std::vector<std::string> Order;
    };
    const TCase cases[] = {
        { 0, 190, { "Child1", "Child2", "Child0" } }, // past the third centre: to the end
        { 0, 120, { "Child1", "Child0", "Child2" } }, // past the second only
        { 0, 40, { "Child0", "Child1", "Child2" } }, // short of the second centre: unchanged
        { 2, 10, { "Child2", "Child0", "Child1" } }, // leftwards past the first centre
    };
    TspSkinMDITabsBar* bar = TabsBar(200);
    std::vector<TForm*> children = NewChildren(3);
    for (const TCase& c : cases) {
        // Back to the creation order.
        for (TForm* child : children)
            child->Hide();
        for (TForm* child : children)
            child->Show();
        Pump();
        ASSERT_EQ(TabOrder(bar), (std::vector<std::string> { "Child0", "Child1", "Child2" }));
        bar->CalcObjectRects();
        const TRect from = bar->TabAt(c.From)->TabRectangle;
        const int pressX = from.Left + 20;
        const TPoint press = OnScreen(bar, pressX, 10);
        Backend.AdvanceClock(1000);
        Backend.MouseMove(press.X, press.Y);
        Backend.MouseDown();
        Pump();
        EXPECT_EQ(Main->ActiveMDIChild(), children[size_t(c.From)]) << "the press shows the tab's child";
        for (int x : { (pressX + c.ReleaseX) / 2, c.ReleaseX }) {
            const TPoint move = OnScreen(bar, x, 10);
            Backend.MouseMove(move.X, move.Y);
            Pump();
        }
        EXPECT_TRUE(bar->TabDragging);
        Backend.MouseUp();
        Pump();
        EXPECT_EQ(TabOrder(bar), c.Order) << "from " << c.From << " to x " << c.ReleaseX;
        EXPECT_FALSE(bar->TabDragging);
        EXPECT_EQ(bar->DragTabIndex, -1);
    }
}

TEST_F(SkinMDITest, TabClicksRestoreTheChildAndReportTheTabAndLeavingTabsAreReported)
{
    TspSkinMDITabsBar* bar = TabsBar(300);
    bar->MoveTabs = false;
    std::vector<TForm*> children = NewChildren(2);
    std::vector<std::string> events;
    bar->OnTabMouseDown = [&](TMouseButton button, TShiftState, TspMDITab* tab) {
        events.push_back((button == mbLeft ? "left:" : "right:") + tab->TabForm->Name());
    };
    bar->OnTabMouseEnter = [&](TspMDITab* tab) { events.push_back("enter:" + tab->TabForm->Name()); };
    bar->OnTabMouseLeave = [&](TspMDITab* tab) { events.push_back("leave:" + tab->TabForm->Name()); };
    GetSkinFormComponent(children[0])->SetWindowState(wsMinimized);
    const TPoint first = OnScreen(bar, 50, 10);
    Click(first.X, first.Y);
    EXPECT_EQ(GetSkinFormComponent(children[0])->WindowState(), wsNormal);
    EXPECT_EQ(Main->ActiveMDIChild(), children[0]);
    EXPECT_TRUE(bar->TabAt(0)->TabActive);
    EXPECT_FALSE(bar->TabAt(1)->TabActive);
    // Without SkinForm a right click opens nothing but is still reported.
    const TPoint second = OnScreen(bar, 150, 10);
    Backend.AdvanceClock(1000);
    Backend.Click(second.X, second.Y, TRawButton::Right);
    Pump();
    EXPECT_EQ(Main->ActiveMDIChild(), children[0]);
    // The hot child going away reports its tab leaving before the tab is freed.
    events.clear();
    ASSERT_EQ(bar->HotTabIndex, 1);
    delete children[1];
    Pump();
    EXPECT_EQ(events, (std::vector<std::string> { "leave:Child1" }));
    EXPECT_EQ(bar->HotTabIndex, -1);
    EXPECT_EQ(bar->TabCount(), 1);
}

TEST_F(SkinMDITest, ABottomBarTurnsTheSkinnedTabFacesUpsideDown)
{
    TFixtureSkin fixture;
    fixture.AddActivePicture("tabs.bmp", 60, 40, 7);
    fixture.AddControl("tab", "tab",
        { { "pictureindex", "0" }, { "tabrect", "0,0,40,20" }, { "activetabrect", "0,20,40,40" },
            { "tableftoffset", "10" }, { "tabrightoffset", "10" }, { "tabsbgrect", "40,0,60,20" } });
    auto* skin = new TspSkinData(Application);
    skin->LoadFromFile(fixture.Write());
    ASSERT_FALSE(skin->Empty);
    TspSkinMDITabsBar* bar = TabsBar(300);
    bar->SetSkinData(skin);
    EXPECT_EQ(bar->Height(), 20) << "the bar takes the skin's tab height";
    NewChildren(1);
    bar->CalcObjectRects();
    auto face = [&](TAlign align) {
        bar->SetAlign(align);
        Pump();
        bar->CalcObjectRects();
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->SetSize(100, 20);
        bar->TabAt(0)->Draw(bitmap->Canvas());
        return bitmap;
    };
    auto top = face(alTop);
    auto bottom = face(alBottom);
    // The left end of the face is copied from the picture, clear of the text.
    for (int x : { 1, 5, 95 })
        for (int y : { 0, 7, 19 })
            EXPECT_EQ(top->Canvas()->Pixels(x, y), bottom->Canvas()->Pixels(x, 19 - y)) << x << "," << y;
    EXPECT_NE(top->Canvas()->Pixels(1, 0), top->Canvas()->Pixels(1, 19));
}

// ---- The main-menu bar ------------------------------------------------------------------------------------------

// A top-level item of `menu` named and captioned `name`, in `group`, with one sub-item when `withChildren`.
TMenuItem* AddItem(TMenu* menu, const std::string& name, uint8_t group, bool withChildren = false)
{
    auto* item = new TMenuItem(menu);
    item->SetName(name);
    item->SetCaption(name);
    item->SetGroupIndex(group);
    if (withChildren) {
        auto* sub = new TMenuItem(menu);
        sub->SetName(name + "Sub");
        sub->SetCaption("Sub");
        item->Add(sub);
    }
    menu->Items()->Add(item);
    return item;
}

std::vector<std::string> BarItems(TspSkinMainMenuBar* bar)
{
    std::vector<std::string> names;
    for (int i = bar->ButtonCount; i < bar->ObjectCount(); ++i)
        names.push_back(bar->ObjectAt(i)->IDName);
    return names;
}

class SkinMainMenuBarTest : public SkinMDITest {
protected:
    TspSkinMainMenuBar* MenuBar(int width)
    {
        auto* bar = new TspSkinMainMenuBar(Main);
        bar->SetParent(Main);
        // Placed by hand, so that its width is the test's.
        bar->SetAlign(alNone);
        bar->SetBounds(0, 0, width, 22);
        bar->SetSkinForm(MainSkin);
        MainSkin->SetMainMenuBar(bar);
        MainMenu = new TMainMenu(Main);
        AddItem(MainMenu, "File", 0, true);
        AddItem(MainMenu, "Edit", 1, true);
        AddItem(MainMenu, "Window", 9, true);
        bar->SetMainMenu(MainMenu);
        Pump();
        return bar;
    }

    TMainMenu* MainMenu = nullptr;
};

TEST_F(SkinMainMenuBarTest, AChildMenuMergesByGroupReplacingTheMainItemsOfItsGroups)
{
    TspSkinMainMenuBar* bar = MenuBar(400);
    EXPECT_EQ(BarItems(bar), (std::vector<std::string> { "File", "Edit", "Window" }));
    struct TCase {
        std::vector<std::pair<std::string, uint8_t>> ChildItems;
        std::vector<std::string> Bar;
    };
    const TCase cases[] = {
        { { { "Report", 1 }, { "Tools", 5 } }, { "File", "Report", "Tools", "Window" } },
        { { { "Tools", 5 }, { "Open", 0 } }, { "Open", "Edit", "Tools", "Window" } },
        { { { "Help", 12 } }, { "File", "Edit", "Window", "Help" } },
    };
    int n = 0;
    for (const TCase& c : cases) {
        TForm* child = NewChild("Child" + std::to_string(n++));
        auto* childMenu = new TMainMenu(child);
        for (const auto& [name, group] : c.ChildItems)
            AddItem(childMenu, name + std::to_string(n), group);
        // The bar follows the active child's menu once the child is activated again.
        MainSkin->CheckMDIMainMenu();
        std::vector<std::string> expected;
        for (const std::string& name : c.Bar)
            expected.push_back(name == "File" || name == "Edit" || name == "Window" ? name : name + std::to_string(n));
        EXPECT_EQ(BarItems(bar), expected);
        EXPECT_TRUE(bar->Merged());
        delete child;
        Pump();
    }
    // No child menu: the main menu alone again. A menu merged by hand takes the child's part.
    EXPECT_EQ(BarItems(bar), (std::vector<std::string> { "File", "Edit", "Window" }));
    auto* other = new TMainMenu(Main);
    AddItem(other, "View", 1);
    bar->Merge(other);
    EXPECT_EQ(BarItems(bar), (std::vector<std::string> { "File", "View", "Window" }));
    bar->UnMerge();
    EXPECT_EQ(BarItems(bar), (std::vector<std::string> { "File", "Edit", "Window" }));
}

TEST_F(SkinMainMenuBarTest, ItemsThatDoNotFitAreLeftOutAndCannotBeHot)
{
    TspSkinMainMenuBar* bar = MenuBar(400);
    bar->CalcRects();
    const int fileRight = bar->ObjectAt(0)->ObjectRect.Right;
    const int editRight = bar->ObjectAt(1)->ObjectRect.Right;
    // Just wide enough for File and Edit and the marker's room: Window is left out.
    bar->SetWidth(editRight + 2 + 5);
    Pump();
    bar->CalcRects();
    auto shown = [&] {
        std::vector<bool> list;
        for (int i = 0; i < bar->ObjectCount(); ++i)
            list.push_back(static_cast<TspSkinMainMenuBarItem*>(bar->ObjectAt(i))->Shown);
        return list;
    };
    EXPECT_EQ(shown(), (std::vector<bool> { true, true, false }));
    EXPECT_TRUE(bar->Overflow);
    EXPECT_FALSE(bar->ObjectAt(2)->Enabled);
    const TRect hidden = bar->ObjectAt(2)->ObjectRect;
    bar->TestActive(hidden.Left + 1, hidden.Top + 1);
    EXPECT_EQ(bar->ActiveObjectIndex, -1);
    bar->SetWidth(fileRight + 2 + 5);
    bar->CalcRects();
    EXPECT_EQ(shown(), (std::vector<bool> { true, false, false }));
    // Room again: the items come back with their own Enabled.
    MainMenu->Items()->Items(2)->SetEnabled(false);
    bar->UpDateEnabledItems();
    bar->SetWidth(400);
    bar->CalcRects();
    EXPECT_EQ(shown(), (std::vector<bool> { true, true, true }));
    EXPECT_FALSE(bar->Overflow);
    EXPECT_TRUE(bar->ObjectAt(1)->Enabled);
    EXPECT_FALSE(bar->ObjectAt(2)->Enabled);
}

TEST_F(SkinMainMenuBarTest, AMaximizedChildShowsItsButtonsOnTheBarUntilTheLastOneIsRestored)
{
    TspSkinMainMenuBar* bar = MenuBar(400);
    TForm* a = NewChild("A");
    TForm* b = NewChild("B");
    TspSkinForm* skinA = GetSkinFormComponent(a);
    TspSkinForm* skinB = GetSkinFormComponent(b);
    skinA->SetBorderIcons(TspBorderIcons { TspBorderIcon::biSystemMenu, TspBorderIcon::biMaximize });
    EXPECT_EQ(bar->ButtonCount, 0);
    skinA->SetWindowState(wsMaximized);
    ASSERT_EQ(bar->ButtonCount, 4);
    struct TCase {
        TStdCommand Command;
        bool Enabled;
    };
    const TCase cases[] = { { cmSysMenu, true }, { cmClose, true }, { cmMaximize, true }, { cmMinimize, false } };
    for (int i = 0; i < 4; ++i) {
        auto* button = static_cast<TspSkinMainMenuBarButton*>(bar->ObjectAt(i));
        EXPECT_EQ(button->Command, cases[i].Command) << i;
        EXPECT_EQ(button->Enabled, cases[i].Enabled) << i;
    }
    EXPECT_EQ(BarItems(bar), (std::vector<std::string> { "File", "Edit", "Window" }));
    // The system-menu button at the left end, the others from the right end.
    bar->CalcRects();
    EXPECT_EQ(bar->ObjectAt(0)->ObjectRect.Left, 2);
    EXPECT_EQ(bar->ObjectAt(1)->ObjectRect.Right, 398);
    EXPECT_LT(bar->ObjectAt(3)->ObjectRect.Right, bar->ObjectAt(2)->ObjectRect.Left);
    EXPECT_GT(bar->ObjectAt(4)->ObjectRect.Left, bar->ObjectAt(0)->ObjectRect.Right) << "items after the button";

    // With two maximized, restoring one keeps the buttons, which follow the one left.
    skinB->SetWindowState(wsMaximized);
    skinA->SetWindowState(wsNormal);
    ASSERT_EQ(bar->ButtonCount, 4);
    EXPECT_TRUE(bar->ObjectAt(3)->Enabled);
    // The restore button, clicked, restores the last one: the buttons go.
    bar->CalcRects();
    const TRect restore = bar->ObjectAt(2)->ObjectRect;
    const TPoint p = OnScreen(bar, (restore.Left + restore.Right) / 2, (restore.Top + restore.Bottom) / 2);
    Click(p.X, p.Y);
    EXPECT_EQ(skinB->WindowState(), wsNormal);
    EXPECT_EQ(bar->ButtonCount, 0);
    EXPECT_EQ(BarItems(bar), (std::vector<std::string> { "File", "Edit", "Window" }));
}

TEST_F(SkinMainMenuBarTest, AnItemWithChildrenOpensItsSubmenuWhichFollowsTheMouseToTheNextItem)
{
    TspSkinMainMenuBar* bar = MenuBar(400);
    bar->CalcRects();
    auto centre = [&](int index) {
        const TRect r = bar->ObjectAt(index)->ObjectRect;
        return OnScreen(bar, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    };
    TspSkinMenu* menu = MainSkin->SkinMenu();
    const TPoint file = centre(0);
    Backend.MouseMove(file.X, file.Y);
    Pump();
    Click(file.X, file.Y);
    ASSERT_TRUE(menu->Visible());
    EXPECT_EQ(menu->LevelCount(), 1);
    EXPECT_TRUE(bar->ObjectAt(0)->Down);
    EXPECT_TRUE(bar->MenuMode);
    EXPECT_TRUE(MainSkin->MainMenuActive);
    // The mouse on the next item: its submenu replaces the first one.
    const TPoint edit = centre(1);
    Backend.MouseMove(edit.X, edit.Y);
    Backend.AdvanceClock(60);
    Pump();
    EXPECT_TRUE(menu->Visible());
    EXPECT_FALSE(bar->ObjectAt(0)->Down);
    EXPECT_TRUE(bar->ObjectAt(1)->Down);
    EXPECT_TRUE(bar->MenuMode);
    // The chain closing lets the item come up and ends the menu mode.
    menu->Hide();
    Pump();
    EXPECT_FALSE(bar->ObjectAt(1)->Down);
    EXPECT_FALSE(bar->MenuMode);
    EXPECT_FALSE(MainSkin->MainMenuActive);
}

// ---- The bar's keyboard (called by the form's menu keys) -------------------------------------------------------

class SkinMainMenuBarKeysTest : public SkinMainMenuBarTest {
protected:
    // File, Edit and Window with submenus, View disabled, Help a leaf and Extra left out for want of room, each
    // with its initial as the accelerator.
    TspSkinMainMenuBar* KeysBar()
    {
        TspSkinMainMenuBar* bar = MenuBar(400);
        AddItem(MainMenu, "View", 2, true)->SetEnabled(false);
        Help = AddItem(MainMenu, "Help", 10);
        Help->OnClick = [this](TObject*) { Events.push_back("click"); };
        AddItem(MainMenu, "Extra", 12, true);
        for (int i = 0; i < MainMenu->Items()->Count(); ++i)
            MainMenu->Items()->Items(i)->SetCaption("&" + MainMenu->Items()->Items(i)->Name());
        bar->UpDateItems();
        bar->CalcRects();
        bar->SetWidth(bar->ObjectAt(4)->ObjectRect.Right + 2 + 5);
        Pump();
        bar->CalcRects();
        bar->OnMainMenuItemClick = [this](const std::string& id) { Events.push_back("bar:" + id); };
        MainSkin->OnMainMenuEnter
            = [this, bar](TObject* sender) { Events.push_back(sender == bar ? "enter:bar" : "enter:other"); };
        return bar;
    }

    // The items that are highlighted and those that are pressed, by name.
    static std::string Marked(TspSkinMainMenuBar* bar)
    {
        std::string active;
        std::string down;
        for (int i = bar->ButtonCount; i < bar->ObjectCount(); ++i) {
            if (bar->ObjectAt(i)->Active)
                active += (active.empty() ? "" : ",") + bar->ObjectAt(i)->IDName;
            if (bar->ObjectAt(i)->Down)
                down += (down.empty() ? "" : ",") + bar->ObjectAt(i)->IDName;
        }
        return active + "/" + down;
    }

    TMenuItem* Help = nullptr;
    std::vector<std::string> Events;
};

TEST_F(SkinMainMenuBarKeysTest, TheHighlightWalksTheShownEnabledItemsAndWrapsBothWays)
{
    TspSkinMainMenuBar* bar = KeysBar();
    ASSERT_FALSE(static_cast<TspSkinMainMenuBarItem*>(bar->ObjectAt(5))->Shown) << "Extra is left out";
    ASSERT_FALSE(Application->OnMessage);
    bar->MenuEnter();
    EXPECT_EQ(Marked(bar), "File/");
    EXPECT_TRUE(bar->MenuMode);
    EXPECT_TRUE(MainSkin->MainMenuActive);
    EXPECT_TRUE(Application->OnMessage) << "the form takes the keys";
    EXPECT_EQ(Events, (std::vector<std::string> { "enter:bar" }));
    // View (disabled) and Extra (left out) are passed over.
    struct TStep {
        bool Next;
        const char* Marked;
    };
    const TStep steps[] = { { true, "Edit/" }, { true, "Window/" }, { true, "Help/" }, { true, "File/" },
        { false, "Help/" }, { false, "Window/" }, { false, "Edit/" }, { false, "File/" }, { false, "Help/" } };
    for (const TStep& step : steps) {
        if (step.Next)
            bar->NextMainMenuItem();
        else
            bar->PriorMainMenuItem();
        EXPECT_EQ(Marked(bar), step.Marked) << (step.Next ? "next" : "prior");
    }
    bar->MenuExit();
    EXPECT_EQ(Marked(bar), "/");
    EXPECT_FALSE(bar->MenuMode);
    // Without a highlight, Right starts at the first item and Left at the last one.
    bar->NextMainMenuItem();
    EXPECT_EQ(Marked(bar), "File/");
    bar->MenuExit();
    bar->PriorMainMenuItem();
    EXPECT_EQ(Marked(bar), "Help/");
    bar->MenuExit();
    // The item under the mouse is where the keyboard mode starts.
    const TRect edit = bar->ObjectAt(1)->ObjectRect;
    bar->TestActive(edit.Left + 1, edit.Top + 1);
    bar->MenuEnter();
    EXPECT_EQ(Marked(bar), "Edit/");
}

TEST_F(SkinMainMenuBarKeysTest, ReturnOpensTheHighlightedSubmenuWhichRightMovesAndClicksALeaf)
{
    TspSkinMainMenuBar* bar = KeysBar();
    TspSkinMenu* menu = MainSkin->SkinMenu();
    EXPECT_FALSE(bar->CheckReturnKey()) << "nothing highlighted";
    bar->MenuEnter();
    EXPECT_TRUE(bar->CheckReturnKey());
    EXPECT_EQ(Marked(bar), "/File");
    ASSERT_TRUE(menu->Visible());
    EXPECT_EQ(menu->LevelCount(), 1);
    // With the submenu open, Return belongs to the submenu.
    EXPECT_FALSE(bar->CheckReturnKey());
    bar->NextMainMenuItem();
    EXPECT_EQ(Marked(bar), "Edit/Edit");
    EXPECT_TRUE(menu->Visible());
    menu->Hide();
    Pump();
    EXPECT_EQ(Marked(bar).substr(Marked(bar).find('/')), "/");
    EXPECT_FALSE(MainSkin->MainMenuActive);

    // A leaf clicked by Return runs its command and ends the keyboard mode, giving the keys back.
    bar->MenuExit();
    Events.clear();
    bar->MenuEnter();
    bar->PriorMainMenuItem();
    ASSERT_EQ(Marked(bar), "Help/");
    EXPECT_TRUE(bar->CheckReturnKey());
    EXPECT_EQ(Events, (std::vector<std::string> { "enter:bar", "bar:Help", "click" }));
    EXPECT_EQ(Marked(bar), "/");
    EXPECT_FALSE(bar->MenuMode);
    EXPECT_FALSE(MainSkin->MainMenuActive);
    EXPECT_FALSE(MainSkin->SkinMenuOpened);
    EXPECT_FALSE(Application->OnMessage);
}

TEST_F(SkinMainMenuBarKeysTest, AnAcceleratorPressesItsItemOrMovesTheOpenSubmenuToIt)
{
    TspSkinMainMenuBar* bar = KeysBar();
    TspSkinMenu* menu = MainSkin->SkinMenu();
    // A hidden form's bar takes no accelerators.
    Main->Hide();
    Pump();
    EXPECT_FALSE(bar->FindHotKeyItem('E'));
    EXPECT_EQ(Marked(bar), "/");
    Main->Show();
    Pump();
    // No item has X; View is disabled and Extra left out.
    for (WORD key : { WORD('X'), WORD('V'), WORD('D') })
        EXPECT_FALSE(bar->FindHotKeyItem(key)) << char(key);
    EXPECT_TRUE(bar->FindHotKeyItem('E'));
    EXPECT_EQ(Marked(bar), "Edit/Edit");
    ASSERT_TRUE(menu->Visible());
    // With a submenu open the accelerator of an item with children only moves the submenu there.
    EXPECT_TRUE(bar->FindHotKeyItem('w'));
    EXPECT_EQ(Marked(bar), "Window/Window");
    EXPECT_TRUE(menu->Visible());
    EXPECT_EQ(menu->LevelCount(), 1);
    menu->Hide();
    Pump();
    // A leaf's accelerator clicks it.
    Events.clear();
    EXPECT_TRUE(bar->FindHotKeyItem('H'));
    EXPECT_EQ(Events, (std::vector<std::string> { "bar:Help", "click" }));
}

TEST_F(SkinMainMenuBarKeysTest, EscapeStepsBackOneLevelAndALeafReachedWithASubmenuOpenWaitsForReturn)
{
    TspSkinMainMenuBar* bar = KeysBar();
    TspSkinMenu* menu = MainSkin->SkinMenu();
    MainSkin->OnMainMenuExit = [this](TObject*) { Events.push_back("exit"); };
    Events.clear();
    // The form's keys, through the application hook of its keyboard mode.
    struct TStep {
        UINT Key;
        const char* Marked;
        int Levels;
        bool KeyboardMode;
    };
    const TStep steps[] = {
        { VK_F10, "File/", 0, true },
        { VK_RETURN, "/File", 1, true },
        // Escape closes the submenu; its item stays highlighted in the keyboard mode.
        { VK_ESCAPE, "File/", 0, true },
        { VK_RETURN, "/File", 1, true },
        // Left from the open submenu onto the leaf: nothing opens, the leaf stays pressed.
        { VK_LEFT, "Help/Help", 0, true },
        { VK_ESCAPE, "Help/", 0, true },
        { VK_RIGHT, "File/", 0, true },
        { VK_RETURN, "/File", 1, true },
        { VK_LEFT, "Help/Help", 0, true },
        // Return clicks the pressed leaf and ends the keyboard mode.
        { VK_RETURN, "/", 0, false },
        { VK_F10, "File/", 0, true },
        { VK_ESCAPE, "/", 0, false },
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.Key);
        Backend.Key(step.Key);
        Pump();
        EXPECT_EQ(Marked(bar), step.Marked);
        EXPECT_EQ(menu->LevelCount(), step.Levels);
        EXPECT_EQ(MainSkin->MainMenuActive, step.KeyboardMode);
        EXPECT_EQ(bar->MenuMode, step.KeyboardMode);
    }
    EXPECT_EQ(Events,
        (std::vector<std::string> {
            "enter:bar", "bar:File", "bar:File", "bar:File", "bar:Help", "exit", "click", "enter:bar", "exit" }));
    EXPECT_FALSE(Application->OnMessage) << "the keys are the application's again";
}

TEST_F(SkinMainMenuBarTest, TheOverflowMarkerListsTheItemsLeftOut)
{
    TspSkinMainMenuBar* bar = MenuBar(400);
    bar->CalcRects();
    bar->SetWidth(bar->ObjectAt(1)->ObjectRect.Right + 2 + 5);
    Pump();
    bar->CalcRects();
    ASSERT_TRUE(bar->Overflow);
    const TRect marker = bar->MarkerRect();
    const TPoint p = OnScreen(bar, marker.Left + 2, (marker.Top + marker.Bottom) / 2);
    Backend.MouseMove(p.X, p.Y);
    Pump();
    Click(p.X, p.Y);
    TspSkinMenu* menu = MainSkin->SkinMenu();
    ASSERT_TRUE(menu->Visible());
    ASSERT_EQ(menu->LevelCount(), 1);
    menu->Hide();
    Pump();
}

TEST_F(SkinMainMenuBarTest, ALeafItemClickedRunsItsCommandAndReportsItsName)
{
    TspSkinMainMenuBar* bar = MenuBar(400);
    TMenuItem* help = AddItem(MainMenu, "Help", 10);
    std::vector<std::string> events;
    help->OnClick = [&](TObject*) { events.push_back("click"); };
    bar->OnMainMenuItemClick = [&](const std::string& id) { events.push_back("bar:" + id); };
    bar->UpDateItems();
    bar->CalcRects();
    const TRect r = bar->ObjectAt(3)->ObjectRect;
    const TPoint p = OnScreen(bar, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    Backend.MouseMove(p.X, p.Y);
    Pump();
    Click(p.X, p.Y);
    EXPECT_EQ(events, (std::vector<std::string> { "bar:Help", "click" }));
    // Without a form the items take no clicks.
    bar->SetSkinForm(nullptr);
    Click(p.X, p.Y);
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(SkinMainMenuBarTest, ASkinnedBarSizesItsItemsFromTheItemRecordAndKeepsEveryButtonInItsPlace)
{
    // The skin names a close button only: the other places keep their own commands in the plain look.
    TFixtureSkin fixture;
    fixture.AddActivePicture("bar.bmp", 120, 60, 4);
    fixture.AddControl("mainmenubar", "mainmenubar",
        { { "pictureindex", "0" }, { "skinrect", "0,0,100,24" }, { "itemsrect", "10,2,90,22" },
            { "menubaritem", "baritem" }, { "closebutton", "barclose" }, { "minbutton", "nosuchbutton" } });
    fixture.AddObject("baritem", "mainmenubaritem",
        { { "activepictureindex", "0" }, { "skinrect", "0,30,40,50" }, { "activeskinrect", "40,30,80,50" },
            { "textrect", "6,2,34,18" }, { "itemleftoffset", "6" }, { "itemrightoffset", "6" },
            { "morphing", "1" } });
    fixture.AddObject("barclose", "mainmenubarbutton",
        { { "activepictureindex", "0" }, { "skinrect", "100,0,114,14" }, { "activeskinrect", "100,14,114,28" },
            { "command", "cmclose" } });
    auto* skin = new TspSkinData(Application);
    skin->LoadFromFile(fixture.Write());
    ASSERT_FALSE(skin->Empty);
    TspSkinMainMenuBar* bar = MenuBar(300);
    bar->SetSkinData(skin);
    ASSERT_TRUE(bar->Skinned());
    EXPECT_EQ(bar->Height(), 24) << "the bar takes the skin's height";
    bar->CalcRects();
    // The area runs from 10 to the width less the picture's right part; items are the record's width less its
    // text part plus the caption.
    EXPECT_EQ(bar->ItemsArea.Left, 10);
    EXPECT_EQ(bar->ItemsArea.Right, 290);
    TBitmap measure;
    measure.Canvas()->Font()->SetName("Arial");
    measure.Canvas()->Font()->SetHeight(14);
    const TRect file = bar->ObjectAt(0)->ObjectRect;
    EXPECT_EQ(file.Left, 10);
    EXPECT_EQ(file.Right - file.Left, 40 - 28 + measure.Canvas()->TextWidth("File") + 2);
    EXPECT_EQ(bar->ObjectAt(1)->ObjectRect.Left, file.Right);
    // Hovering fades the item to its active look in six ticks of 25 ms, and leaving fades it back.
    TspMenuBarObject* fileItem = bar->ObjectAt(0);
    bar->TestActive(file.Left + 2, file.Top + 2);
    ASSERT_TRUE(fileItem->Active);
    EXPECT_TRUE(bar->MorphTimer()->Enabled());
    auto ticks = [&](int count) {
        for (int i = 0; i < count; ++i) {
            Backend.AdvanceClock(25);
            Pump();
        }
    };
    ticks(5);
    EXPECT_LT(fileItem->MorphKf, 1.0);
    ticks(1);
    EXPECT_EQ(fileItem->MorphKf, 1.0);
    ticks(1);
    EXPECT_FALSE(bar->MorphTimer()->Enabled());
    bar->TestActive(-1, -1);
    ticks(6);
    EXPECT_EQ(fileItem->MorphKf, 0.0);

    TForm* a = NewChild("A");
    GetSkinFormComponent(a)->SetWindowState(wsMaximized);
    ASSERT_EQ(bar->ButtonCount, 4);
    const TStdCommand commands[] = { cmSysMenu, cmClose, cmMaximize, cmMinimize };
    for (int i = 0; i < 4; ++i) {
        auto* button = static_cast<TspSkinMainMenuBarButton*>(bar->ObjectAt(i));
        EXPECT_EQ(button->Command, commands[i]) << i;
        EXPECT_EQ(button->Skinned, i == 1) << i;
    }
    bar->CalcRects();
    // The skinned close button keeps its picture's size, centred in the area.
    EXPECT_EQ(bar->ObjectAt(1)->ObjectRect.Right - bar->ObjectAt(1)->ObjectRect.Left, 14);
    EXPECT_EQ(bar->ObjectAt(1)->ObjectRect.Top, 2 + 10 - 7);
    // It paints from the picture without trouble, hot or not.
    bar->Repaint();
    bar->TestActive(bar->ObjectAt(1)->ObjectRect.Left + 1, bar->ObjectAt(1)->ObjectRect.Top + 1);
    EXPECT_EQ(bar->ActiveObjectIndex, 1);
}

// ---- The items' frame animation ---------------------------------------------------------------------------------

TEST_F(SkinMainMenuBarTest, AnAnimatedItemStepsItsFramesOnItsTimerUpWhileHotAndBackOrAtOnceAfter)
{
    // The item's normal, active and frame looks are all from the generated picture, whose pixels all differ; the
    // pixel sampled lies in the item's kept left part, clear of the caption.
    const uint32_t seed = 4;
    const TRect normal = Rect(0, 30, 40, 50);
    const TRect active = Rect(40, 30, 80, 50);
    struct TCase {
        const char* Strip;
        bool Back;
        int Interval;
        std::vector<TRect> Frames;
    };
    const TCase cases[] = {
        // Taller than the item: frames stacked downward.
        { "80,30,120,90", true, 40, { Rect(80, 30, 120, 50), Rect(80, 50, 120, 70), Rect(80, 70, 120, 90) } },
        // As tall as the item: frames side by side.
        { "0,60,120,80", false, 25, { Rect(0, 60, 40, 80), Rect(40, 60, 80, 80), Rect(80, 60, 120, 80) } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Strip);
        TFixtureSkin fixture;
        fixture.AddActivePicture("bar.bmp", 160, 100, seed);
        fixture.AddControl("mainmenubar", "mainmenubar",
            { { "pictureindex", "0" }, { "skinrect", "0,0,100,24" }, { "itemsrect", "10,2,90,22" },
                { "menubaritem", "baritem" } });
        fixture.AddObject("baritem", "mainmenubaritem",
            { { "activepictureindex", "0" }, { "skinrect", "0,30,40,50" }, { "activeskinrect", "40,30,80,50" },
                { "textrect", "6,2,34,18" }, { "itemleftoffset", "6" }, { "itemrightoffset", "6" },
                { "animateskinrect", c.Strip }, { "framecount", "3" },
                { "animateinterval", std::to_string(c.Interval) }, { "inactiveanimation", c.Back ? "1" : "0" },
                // The animation stands in for the hover transition, which never runs beside it.
                { "morphing", c.Back ? "1" : "0" } });
        auto* skin = new TspSkinData(Application);
        skin->LoadFromFile(fixture.Write());
        ASSERT_FALSE(skin->Empty);
        TspSkinMainMenuBar* bar = MenuBar(300);
        bar->SetSkinData(skin);
        bar->Repaint();
        Pump();
        auto* item = static_cast<TspSkinMainMenuBarItem*>(bar->ObjectAt(0));
        const TRect r = item->ObjectRect;
        const TPoint p = OnScreen(bar, r.Left + 1, r.Top + 1);
        auto shows = [&](const TRect& look) {
            return Backend.ScreenPixel(p.X, p.Y) == TFixtureSkin::PixelOf(look.Left + 1, look.Top + 1, seed);
        };
        auto tick = [&] {
            Backend.AdvanceClock(c.Interval);
            Pump();
        };
        ASSERT_TRUE(shows(normal));
        bar->TestActive(r.Left + 2, r.Top + 2);
        ASSERT_TRUE(item->Active);
        EXPECT_TRUE(bar->AnimateTimer()->Enabled());
        EXPECT_EQ(bar->AnimateTimer()->Interval(), uint32_t(c.Interval)) << "the item's interval";
        for (const TRect& frame : c.Frames) {
            tick();
            EXPECT_TRUE(shows(frame)) << item->CurrentFrame;
        }
        // One past the strip the plain active look takes over, and the timer stops.
        tick();
        EXPECT_TRUE(shows(active));
        tick();
        EXPECT_FALSE(bar->AnimateTimer()->Enabled());
        EXPECT_TRUE(shows(active));

        // Leaving runs the frames back, or drops to the normal look at once; a submenu moving away likewise.
        for (int leave = 0; leave < 2; ++leave) {
            if (leave == 0) {
                bar->TestActive(-1, -1);
            } else {
                bar->TestActive(r.Left + 2, r.Top + 2);
                for (int i = 0; i < 5; ++i)
                    tick();
                item->Down = true;
                item->SetDown(false);
            }
            ASSERT_FALSE(item->Active);
            if (c.Back) {
                for (auto frame = c.Frames.rbegin(); frame != c.Frames.rend(); ++frame) {
                    tick();
                    EXPECT_TRUE(shows(*frame)) << leave << ": " << item->CurrentFrame;
                }
                tick();
            }
            EXPECT_TRUE(shows(normal)) << leave;
            tick();
            EXPECT_FALSE(bar->AnimateTimer()->Enabled()) << leave;
        }
        delete bar;
        delete MainMenu;
    }
}

TEST_F(SkinMainMenuBarTest, WithoutSkinEffectsOrFramesAnAnimatedItemShowsItsActiveLookAtOnce)
{
    const uint32_t seed = 5;
    const TRect active = Rect(40, 30, 80, 50);
    // Effects off, and a strip of no frames: no frame to show, no frame size to divide by.
    for (const char* frames : { "3", "0" }) {
        SCOPED_TRACE(frames);
        TFixtureSkin fixture;
        fixture.AddActivePicture("bar.bmp", 160, 100, seed);
        fixture.AddControl("mainmenubar", "mainmenubar",
            { { "pictureindex", "0" }, { "skinrect", "0,0,100,24" }, { "itemsrect", "10,2,90,22" },
                { "menubaritem", "baritem" } });
        fixture.AddObject("baritem", "mainmenubaritem",
            { { "activepictureindex", "0" }, { "skinrect", "0,30,40,50" }, { "activeskinrect", "40,30,80,50" },
                { "textrect", "6,2,34,18" }, { "itemleftoffset", "6" }, { "itemrightoffset", "6" },
                { "animateskinrect", "80,30,120,90" }, { "framecount", frames } });
        auto* skin = new TspSkinData(Application);
        skin->LoadFromFile(fixture.Write());
        const bool effects = std::string(frames) == "0";
        skin->SetEnableSkinEffects(effects);
        TspSkinMainMenuBar* bar = MenuBar(300);
        bar->SetSkinData(skin);
        bar->Repaint();
        Pump();
        auto* item = static_cast<TspSkinMainMenuBarItem*>(bar->ObjectAt(0));
        const TRect r = item->ObjectRect;
        const TPoint p = OnScreen(bar, r.Left + 1, r.Top + 1);
        bar->TestActive(r.Left + 2, r.Top + 2);
        EXPECT_EQ(bar->AnimateTimer()->Enabled(), effects);
        for (int i = 0; i < 3; ++i) {
            Backend.AdvanceClock(25);
            Pump();
        }
        EXPECT_EQ(Backend.ScreenPixel(p.X, p.Y), TFixtureSkin::PixelOf(active.Left + 1, active.Top + 1, seed));
        EXPECT_FALSE(bar->AnimateTimer()->Enabled());
        delete bar;
        delete MainMenu;
    }
}

TEST_F(SkinMDITest, AnMDIChildKeepsItsOwnSkinningAndTheParentKeepsItsClientHook)
{
    TFixtureSkin fixture;
    fixture.SetPicture("picture", "frame.bmp", 100, 60, 3);
    fixture.Set("FORMINFO",
        { { "lefttoppoint", "10,20" }, { "righttoppoint", "90,20" }, { "leftbottompoint", "10,55" },
            { "rightbottompoint", "90,55" }, { "clientrect", "5,20,95,55" } });
    auto* skin = new TspSkinData(Application);
    skin->LoadFromFile(fixture.Write());
    MainSkin->SetSkinData(skin);
    // The hooked client has no frame of its own.
    auto hooked = [this] {
        RECT r { 0, 0, 100, 100 };
        SendMessage(Main->ClientHandle(), WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
        return r.left == 0 && r.top == 0 && r.right == 100 && r.bottom == 100;
    };
    ASSERT_TRUE(hooked());

    // The parent without children switches and keeps its client hooked, also when its windows are made anew
    // for the standard borders.
    for (bool skinnable : { false, true }) {
        skin->SetSkinnableForm(skinnable);
        Pump();
        EXPECT_EQ(MainSkin->GetSkinnableForm(), skinnable);
        EXPECT_TRUE(hooked()) << skinnable;
    }

    // A child's own setting survives a skin given to it; with a child open the parent does not switch.
    TForm* child = NewChild("Child");
    auto* childSkin = GetSkinFormComponent(child);
    ASSERT_NE(childSkin, nullptr);
    childSkin->SetSkinnableForm(false);
    childSkin->SetSkinData(skin);
    EXPECT_FALSE(childSkin->GetSkinnableForm());
    MainSkin->SetSkinnableForm(false);
    EXPECT_TRUE(MainSkin->GetSkinnableForm());
}

TEST_F(SkinMDITest, AnMDIChildsSystemMenuButtonOpensItsMenuUnderTheButton)
{
    TForm* child = NewChild("Child");
    child->SetBounds(30, 40, 200, 150);
    Pump();
    TspSkinForm* skin = GetSkinFormComponent(child);
    const TRect button = skin->ObjectAt(skin->GetIndex("sysmenubutton"))->ObjectRect;
    RECT window {};
    GetWindowRect(child->Handle(), &window);
    Backend.MouseMove(window.left + (button.Left + button.Right) / 2, window.top + (button.Top + button.Bottom) / 2);
    Pump();
    for (int i = 0; i < 6; ++i) {
        Backend.AdvanceClock(10);
        Pump();
    }
    Backend.MouseDown();
    Pump();
    TspSkinMenu* chain = skin->SkinMenu();
    ASSERT_EQ(chain->LevelCount(), 1);
    // Screen coordinates: the child's Left and Top are in the main form's client area.
    EXPECT_EQ(chain->Level(0)->Left(), window.left + button.Left);
    EXPECT_EQ(chain->Level(0)->Top(), window.top + button.Bottom);
    Backend.MouseUp();
    chain->Hide();
    Pump();
}

} // namespace
