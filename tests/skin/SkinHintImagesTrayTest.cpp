// The skinned hint, the images menu and the tray icon on the headless display: sizes and places, events on the
// virtual clock, the application hook of the images grid, and the tray's record, clicks and re-adding through
// the headless tray.
#include "framework/controls/ImgList.h"
#include "framework/controls/TTimer.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TIcon.h"
#include "platform/shell/THeadlessTray.h"
#include "platform/win/Cursors.h"
#include "platform/win/VirtualKeys.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/menus/TspSkinHint.h"
#include "skin/menus/TspSkinImagesMenu.h"
#include "skin/menus/TspSkinMenu.h"
#include "skin/menus/TspSkinPopupMenu.h"
#include "skin/menus/TspSkinPopupWindow.h"
#include "skin/menus/TspTrayIcon.h"
#include "tests/framework/ControlsTestSupport.h"

#include <cstring>

namespace {

using TEvents = std::vector<std::string>;

class SkinHintImagesTrayTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Application->CreateForm(Form);
        Form->SetBounds(100, 100, 300, 200);
        Form->Show();
        Pump();
    }

    void Tick(int ms)
    {
        for (int step = 0; step < ms; step += 10) {
            Backend.AdvanceClock(10);
            Pump();
        }
    }

    // A list of `count` 16 x 16 pictures.
    TImageList* Images(int count)
    {
        auto* list = new TImageList(Form);
        list->SetWidth(16);
        list->SetHeight(16);
        TBitmap picture;
        picture.SetSize(16, 16);
        for (int i = 0; i < count; ++i) {
            picture.Canvas()->Brush()->SetColor(TColor(0x101010 * (i + 1)));
            picture.Canvas()->FillRect(TRect(0, 0, 16, 16));
            list->AddMasked(&picture, clFuchsia);
        }
        return list;
    }

    TForm* Form = nullptr;
    TEvents Events;
};

// ---- Images menu ------------------------------------------------------------------------------------------------

class ImagesMenuTest : public SkinHintImagesTrayTest {
protected:
    void SetUp() override
    {
        SkinHintImagesTrayTest::SetUp();
        Menu = new TspSkinImagesMenu(Form);
        Menu->SetImages(Images(10));
        Menu->OnItemClick = [this](TObject*) { Events.push_back("itemclick " + std::to_string(Menu->ItemIndex)); };
        Menu->OnChange = [this](TObject*) { Events.push_back("change"); };
        Menu->OnMenuClose = [this](TObject*) { Events.push_back("close"); };
        Menu->SetChangeReceiver([this] { Events.push_back("receiver:change"); });
        Menu->SetCloseReceiver([this] { Events.push_back("receiver:close"); });
    }

    TspImagesMenuItem* AddItem(int image, bool button = false)
    {
        TspImagesMenuItem* item = Menu->ImagesItems()->Add();
        item->SetImageIndex(image);
        item->Button = button;
        const int index = Menu->ImagesItems()->Count() - 1;
        item->OnClick = [this, index](TObject*) { Events.push_back("click " + std::to_string(index)); };
        return item;
    }

    void ClickCell(int index)
    {
        const TRect r = Menu->PopupWindow()->GetItemRect(index);
        const TPoint p = Menu->PopupWindow()->ClientToScreen(TPoint { (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 });
        Backend.MouseMove(p.X, p.Y);
        Backend.MouseDown();
        Backend.MouseUp();
        Pump();
    }

    TspSkinImagesMenu* Menu = nullptr;
};

TEST_F(ImagesMenuTest, CellsAreLaidOutInRowsWithButtonRowsOfTheirOwn)
{
    for (int i = 0; i < 10; ++i)
        AddItem(i);
    Menu->SetColumnsCount(4);
    Menu->Popup(200, 150);
    Pump();
    TspSkinImagesMenuPopupWindow* window = Menu->PopupWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Width(), 114);
    EXPECT_EQ(window->Height(), 90);
    struct TCase {
        int Index;
        TRect Cell;
    };
    const TCase cases[] = {
        { 0, TRect(5, 5, 31, 31) },
        { 3, TRect(83, 5, 109, 31) },
        { 4, TRect(5, 32, 31, 58) },
        { 9, TRect(31, 59, 57, 85) },
    };
    for (const TCase& c : cases) {
        const TRect r = window->GetItemRect(c.Index);
        EXPECT_TRUE(
            r.Left == c.Cell.Left && r.Top == c.Cell.Top && r.Right == c.Cell.Right && r.Bottom == c.Cell.Bottom)
            << c.Index << ": " << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
    }
    Menu->Hide();
    // A button between image cells takes a row of its own across all columns.
    Menu->ImagesItems()->Clear();
    AddItem(0);
    AddItem(1);
    AddItem(-1, true)->SetCaption("More");
    AddItem(2);
    Menu->Popup(200, 150);
    Pump();
    window = Menu->PopupWindow();
    const TRect button = window->GetItemRect(2);
    EXPECT_EQ(button.Left, 5);
    EXPECT_EQ(button.Right, 5 + 4 * 26);
    EXPECT_EQ(button.Top, 32);
    EXPECT_EQ(window->GetItemRect(3).Top, 59);
}

TEST_F(ImagesMenuTest, ChoosingFiresTheEventsAndAChangeOnlyForANewItem)
{
    for (int i = 0; i < 4; ++i)
        AddItem(i);
    Menu->ItemIndex = 2;
    struct TCase {
        int Choice;
        TEvents Expected;
    };
    const TCase cases[] = {
        { 2, { "receiver:close", "close", "click 2", "itemclick 2" } },
        { 1, { "receiver:close", "close", "click 1", "itemclick 1", "receiver:change", "change" } },
    };
    for (const TCase& c : cases) {
        Events.clear();
        Menu->Popup(200, 150);
        Pump();
        ClickCell(c.Choice);
        EXPECT_EQ(Events, c.Expected) << c.Choice;
        EXPECT_EQ(Menu->PopupWindow(), nullptr);
        EXPECT_EQ(Menu->ItemIndex, c.Choice);
    }
}

TEST_F(ImagesMenuTest, AnyKeyClosesTheGridWithoutAChoiceAndIsThenHandledAsUsual)
{
    AddItem(0);
    auto* edit = new TRecordingBox(Form, nullptr, "edit");
    edit->SetParent(Form);
    edit->SetBounds(10, 10, 50, 20);
    TEvents keys;
    edit->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) { keys.push_back("key " + std::to_string(key)); };
    edit->SetFocus();
    Pump();
    struct TMarker {
        TEvents* Events;
        void operator()(MSG&, bool&) const { }
    };
    Application->OnMessage = TMarker { &Events };
    Menu->Popup(200, 150);
    Pump();
    ASSERT_NE(Menu->PopupWindow(), nullptr);
    Backend.Key('A');
    Pump();
    EXPECT_EQ(Menu->PopupWindow(), nullptr);
    EXPECT_EQ(Events, (TEvents { "receiver:close", "close" }));
    EXPECT_EQ(Menu->ItemIndex, -1);
    EXPECT_EQ(keys, (TEvents { "key 65" }));
    EXPECT_NE(Application->OnMessage.target<TMarker>(), nullptr);
}

TEST_F(ImagesMenuTest, NearTheBottomTheGridOpensAboveTheRectangle)
{
    AddItem(0);
    Menu->PopupFromRect(TRect(200, 740, 260, 760));
    Pump();
    TspSkinImagesMenuPopupWindow* window = Menu->PopupWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Top(), 740 - window->Height());
    EXPECT_EQ(window->Left(), 200);
}

TEST_F(ImagesMenuTest, WithoutImagesOnlyThePopupEventFires)
{
    AddItem(0);
    Menu->SetImages(nullptr);
    Menu->OnMenuPopup = [this](TObject*) { Events.push_back("popup"); };
    Menu->Popup(200, 150);
    Pump();
    EXPECT_EQ(Menu->PopupWindow(), nullptr);
    EXPECT_EQ(Events, (TEvents { "popup" }));
}

// ---- Hint -------------------------------------------------------------------------------------------------------

TEST_F(SkinHintImagesTrayTest, TheDefaultHintIsItsTextPlusAFrameAndStaysOnTheScreen)
{
    auto* hint = new TspSkinHint(Form);
    EXPECT_EQ(Application->HintShortPause(), 100);
    hint->ActivateHint(TPoint { 300, 200 }, "Hint text");
    Pump();
    TspSkinHintWindow* window = hint->HintWindow();
    ASSERT_TRUE(hint->IsVisible());
    TRect text(0, 0, 0, 0);
    {
        TBitmap scratch;
        scratch.SetSize(1, 1);
        scratch.Canvas()->Font()->Assign(hint->DefaultFont());
        text.Right = scratch.Canvas()->TextWidth("Hint text");
        text.Bottom = scratch.Canvas()->TextHeight("Hint text");
    }
    EXPECT_EQ(window->Width(), text.Right + 4);
    EXPECT_EQ(window->Height(), text.Bottom + 4);
    EXPECT_EQ(window->Left(), 300);
    const uint32_t frame = Backend.ScreenPixel(300, 200);
    const uint32_t inside = Backend.ScreenPixel(301, 201);
    EXPECT_NE(frame, inside);
    // At the right edge the hint goes to the left of the point.
    hint->ActivateHint(TPoint { 1020, 200 }, "Hint text");
    Pump();
    EXPECT_EQ(window->Left(), 1020 - window->Width() - 2);
    hint->HideHint();
    EXPECT_FALSE(hint->IsVisible());
}

TEST_F(SkinHintImagesTrayTest, ADelayedHintRestartsItsPauseWithTheNewText)
{
    auto* hint = new TspSkinHint(Form);
    Application->SetHintPause(500);
    Application->SetHintHidePause(2000);
    hint->ActivateHint2("one");
    Tick(300);
    hint->ActivateHint2("two");
    Tick(300);
    EXPECT_FALSE(hint->IsVisible());
    Tick(250);
    ASSERT_TRUE(hint->IsVisible());
    EXPECT_EQ(hint->HintWindow()->Caption(), "two");
    Tick(2050);
    EXPECT_FALSE(hint->IsVisible());
}

TEST_F(SkinHintImagesTrayTest, ActivatingOneHintComponentDeactivatesTheOther)
{
    auto* first = new TspSkinHint(Form);
    auto* second = new TspSkinHint(Form);
    EXPECT_EQ(TspSkinHintWindow::FindHintComponent(), first);
    second->SetActive(true);
    EXPECT_FALSE(first->Active());
    EXPECT_EQ(TspSkinHintWindow::FindHintComponent(), second);
    // Without an active component the windows show nothing.
    second->SetActive(false);
    first->ActivateHint(TPoint { 300, 200 }, "x");
    EXPECT_FALSE(first->IsVisible());
}

// ---- Tray icon --------------------------------------------------------------------------------------------------

class TrayIconTest : public SkinHintImagesTrayTest {
protected:
    void SetUp() override
    {
        SkinHintImagesTrayTest::SetUp();
        Backend.SetDoubleClickTime(500);
        Icon = new TspTrayIcon(Form);
        Icon->OnClick = [this](TObject*) { Events.push_back("click"); };
        Icon->OnDblClick = [this](TObject*) { Events.push_back("dblclick"); };
        Icon->OnMouseDown
            = [this](TObject*, TMouseButton b, TShiftState, int, int) { Events.push_back("down" + std::to_string(b)); };
        Icon->OnMouseUp
            = [this](TObject*, TMouseButton b, TShiftState, int, int) { Events.push_back("up" + std::to_string(b)); };
        Icon->SetIconVisible(true);
        Pump();
    }

    const TTrayIconState* State() const { return Tray.Icon(Icon->MessageWindow(), 1); }

    THeadlessTray Tray;
    TspTrayIcon* Icon = nullptr;
};

TEST_F(TrayIconTest, ClicksAreTimedOnTheDoubleClickTime)
{
    ASSERT_NE(State(), nullptr);
    HWND w = Icon->MessageWindow();
    struct TCase {
        const char* What;
        std::function<void()> Act;
        TEvents Expected;
    };
    const TCase cases[] = {
        { "a single click clicks one double-click time after the press",
            [&] {
                Tray.Click(w, 1);
                Pump();
                Events.push_back("|");
                Tick(490);
                Events.push_back("|");
                Tick(20);
            },
            { "down0", "up0", "|", "|", "click" } },
        { "a double click raises only the double click",
            [&] {
                Tray.Click(w, 1);
                Tick(100);
                Tray.Click(w, 1);
                Tick(1000);
            },
            { "down0", "up0", "dblclick", "up0" } },
        { "a press held past the double-click time clicks at the release",
            [&] {
                Tray.Press(w, 1);
                Tick(700);
                Events.push_back("|");
                Tray.Release(w, 1);
                Pump();
            },
            { "down0", "|", "click", "up0" } },
    };
    for (const TCase& c : cases) {
        Events.clear();
        c.Act();
        EXPECT_EQ(Events, c.Expected) << c.What;
        Tick(1000);
    }
}

TEST_F(TrayIconTest, TheRecordCutsItsTextsAndTheBalloonShowsNearTheIcon)
{
    Icon->SetHint(std::string(200, 'h'));
    ASSERT_NE(State(), nullptr);
    EXPECT_EQ(State()->Tip.size(), 127u);
    Icon->SetShowHint(false);
    EXPECT_EQ(State()->Tip, "");
    Icon->OnBalloonHintClick = [this](TObject*) { Events.push_back("balloon"); };
    Icon->ShowBalloonHint(std::string(100, 't'), std::string(300, 'x'), spbitWarning);
    EXPECT_EQ(State()->BalloonTitle.size(), 63u);
    EXPECT_EQ(State()->BalloonText.size(), 255u);
    EXPECT_EQ(State()->BalloonFlags, NIIF_WARNING);
    HWND balloon = TrayBalloonWindow();
    ASSERT_NE(balloon, nullptr);
    RECT r {};
    GetWindowRect(balloon, &r);
    const RECT icon = Tray.IconRect(Icon->MessageWindow(), 1);
    EXPECT_EQ(r.top, icon.bottom);
    Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Pump();
    EXPECT_EQ(Events, (TEvents { "balloon" }));
    EXPECT_EQ(TrayBalloonWindow(), nullptr);
}

TEST_F(TrayIconTest, CyclingRunsThroughTheListAndAnIndexPastItTakesTheLast)
{
    TEvents reported;
    Icon->OnCycle = [&](TObject*, int next) { reported.push_back(std::to_string(next)); };
    Icon->SetIconList(Images(3));
    Icon->SetAnimateTimerInterval(100);
    Icon->SetCycleIcons(true);
    TEvents shown;
    for (int i = 0; i < 4; ++i) {
        shown.push_back(std::to_string(Icon->IconIndex()));
        Tick(100);
    }
    EXPECT_EQ(shown, (TEvents { "0", "1", "2", "0" }));
    EXPECT_EQ(reported, (TEvents { "1", "2", "0", "1" }));
    Icon->SetCycleIcons(false);
    Icon->SetIconIndex(10);
    EXPECT_EQ(Icon->IconIndex(), 2);
    Icon->SetIconList(nullptr);
    Icon->SetIconIndex(2);
    EXPECT_EQ(Icon->IconIndex(), 0);
}

TEST_F(TrayIconTest, WithoutATrayNothingHappensUntilOneAppearsAndTheIconComesBack)
{
    Tray.SetAvailable(false);
    EXPECT_FALSE(TspTrayIcon::TrayAvailable());
    Icon->SetHint("tip");
    Icon->SetIconVisible(true); // succeeds without effect
    EXPECT_TRUE(Icon->IconVisible());
    EXPECT_EQ(Tray.IconCount(), 0);
    Tray.SetAvailable(true);
    Pump();
    ASSERT_NE(State(), nullptr);
    EXPECT_EQ(State()->Tip, "tip");
    // A hidden icon stays away when the tray comes back.
    Icon->SetIconVisible(false);
    Tray.SetAvailable(false);
    Tray.SetAvailable(true);
    Pump();
    EXPECT_EQ(Tray.IconCount(), 0);
}

TEST_F(TrayIconTest, ARightClickOpensTheSkinnedMenuAtTheCursorAndADoubleClickRunsTheDefaultItem)
{
    auto* skinner = new TspSkinForm(Form);
    auto* menu = new TspSkinPopupMenu(Form);
    for (const char* caption : { "Open", "Quit" }) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(caption);
        item->OnClick = [this, caption](TObject*) { Events.push_back(caption); };
        menu->Items()->Add(item);
    }
    menu->Items()->Items(0)->SetDefault(true);
    Icon->SetPopupMenu(menu);
    Pump();
    Backend.MovePointerSilently(900, 10);
    Tray.Click(Icon->MessageWindow(), 1, 1);
    Pump();
    TspSkinMenu* chain = skinner->SkinMenu();
    ASSERT_TRUE(chain->Visible());
    EXPECT_EQ(chain->Level(0)->Left(), 900);
    EXPECT_EQ(chain->Level(0)->Top(), 10);
    EXPECT_EQ(menu->PopupComponent(), Icon);
    chain->Hide();
    Events.clear();
    Tray.Click(Icon->MessageWindow(), 1);
    Tick(100);
    Tray.Click(Icon->MessageWindow(), 1);
    Pump();
    EXPECT_EQ(Events, (TEvents { "down0", "up0", "dblclick", "Open", "up0" }));
}

TEST_F(TrayIconTest, AnIconJustAssignedReachesTheTrayWithItsPixels)
{
    TCursorImage image;
    image.Width = 4;
    image.Height = 4;
    image.Icon = true;
    image.HasAlpha = true;
    image.Pixels.assign(16, 0xFF112233);
    image.Mask.assign(16, 0);
    TIcon picture;
    picture.SetHandle(CreateIconFromImage(std::move(image)));
    // The component's copy has the image but has made no handle yet.
    Icon->SetIcon(&picture);
    ASSERT_NE(State(), nullptr);
    TCursorImage shown;
    ASSERT_TRUE(GetCursorImage(State()->Icon, shown));
    EXPECT_EQ(shown.Width, 4);
    EXPECT_EQ(shown.StraightPixels()[5], 0xFF112233u);
}

} // namespace
