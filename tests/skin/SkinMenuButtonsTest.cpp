// The skinned menu button and XForm button on the headless display: opening and closing the menus from the
// mouse and the keyboard, the track part, the skinless look's arrow, the tool-button looks of the fixture and
// the program's skins, and the XForm button's own pictures and window shape. The skinned menus stand behind
// small interfaces; the stand-ins below record what the button asks of them.
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/ImgList.h"
#include "framework/controls/Menus.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinMenuButtons.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/menus/TspSkinMenu.h"
#include "skin/menus/TspSkinPopupMenu.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/skin/SkinControlsTestSupport.h"

namespace {

constexpr uint32_t kSeed = 11;

// A popup menu that records where it was opened and closes on demand as the skinned one does.
class TPopupStandIn : public TComponent, public TspPopupMenuLink {
public:
    using TComponent::TComponent;
    void PopupFromRect2(TControl* opener, const TRect& screenRect) override
    {
        Opener = dynamic_cast<TWinControl*>(opener);
        Opened.push_back(screenRect);
    }
    void Close() { SendMessage(Opener->Handle(), WM_CLOSESKINMENU, 0, 0); }
    TWinControl* Opener = nullptr;
    std::vector<TRect> Opened;
};

// An images menu with a chosen item that tells its receivers of changes and of its close.
class TImagesMenuStandIn : public TComponent, public TspImagesMenuLink {
public:
    using TComponent::TComponent;
    bool GetSelectedItem(int& imageIndex, std::string& caption) const override
    {
        if (Selected < 0)
            return false;
        imageIndex = Selected;
        caption = "item";
        return true;
    }
    TCustomImageList* Images() const override { return List; }
    void SetChangeReceiver(std::function<void()> receiver) override { Changed = std::move(receiver); }
    void SetCloseReceiver(std::function<void()> receiver) override { Closed = std::move(receiver); }
    void PopupFromRect(const TRect& screenRect) override { Opened.push_back(screenRect); }
    void Select(int index)
    {
        Selected = index;
        if (Changed)
            Changed();
    }

    int Selected = -1;
    TCustomImageList* List = nullptr;
    std::function<void()> Changed;
    std::function<void()> Closed;
    std::vector<TRect> Opened;
};

// A panel that offers its image lists to the speed buttons on it, as the skinned tool bar does.
class TToolBarStandIn : public TPanel, public TspToolBarImages {
public:
    using TPanel::TPanel;
    TCustomImageList* Images() const override { return List; }
    TCustomImageList* HotImages() const override { return nullptr; }
    TCustomImageList* DisabledImages() const override { return Disabled; }
    TCustomImageList* List = nullptr;
    TCustomImageList* Disabled = nullptr;
};

// An image list of one 8 x 8 picture of `color`.
TImageList* SolidList(TComponent* owner, TColor color)
{
    auto* list = new TImageList(owner);
    list->SetWidth(8);
    list->SetHeight(8);
    TBitmap picture;
    picture.SetSize(8, 8);
    picture.Canvas()->Brush()->SetColor(color);
    picture.Canvas()->FillRect(Rect(0, 0, 8, 8));
    list->Add(&picture, nullptr);
    return list;
}

class SkinMenuButtonsTest : public SkinInputTest {
protected:
    void SetUp() override
    {
        SkinInputTest::SetUp();
        Form = NewForm(0, 0, 400, 300);
        Form->Show();
        Pump();
    }

    TspSkinMenuButton* Place(int x, int y)
    {
        auto* button = new TspSkinMenuButton(Form);
        button->SetParent(Form);
        button->SetBounds(x, y, 75, 25);
        button->OnClick = [this](TObject*) { ++Clicks; };
        button->OnShowTrackMenu = [this](TObject*) { ++Shown; };
        button->OnHideTrackMenu = [this](TObject*) { ++Hidden; };
        Pump();
        return button;
    }
    // The bounding box of the pixels of colour `color` in `r` (form coordinates); empty when none.
    TRect Find(const TRect& r, TColor color)
    {
        Pump();
        TRect box { r.Right, r.Bottom, r.Left, r.Top };
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (Backend.WindowPixel(Form->Handle(), x, y) == Rgb(color)) {
                    box.Left = std::min(box.Left, x);
                    box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1);
                    box.Bottom = std::max(box.Bottom, y + 1);
                }
        return box;
    }

    int Clicks = 0;
    int Shown = 0;
    int Hidden = 0;
};

} // namespace

TEST_F(SkinMenuButtonsTest, APressAnywhereOpensThePopupMenuAndOnlyItsCloseLiftsTheButton)
{
    auto* menu = new TPopupStandIn(Form);
    auto* button = Place(20, 30);
    button->SetSkinPopupMenu(menu);
    MoveTo(30, 40);
    Press();
    ASSERT_EQ(menu->Opened.size(), 1u);
    EXPECT_EQ(menu->Opened[0], (TRect { 20, 30, 95, 55 })) << "the button's screen rectangle";
    EXPECT_EQ(menu->Opener, button);
    EXPECT_TRUE(button->Down());
    EXPECT_TRUE(button->MenuOpen());
    Release();
    EXPECT_TRUE(button->Down()) << "the release is ignored while the menu shows";
    MoveTo(300, 250);
    MoveTo(30, 40);
    EXPECT_TRUE(button->Down());
    menu->Close();
    EXPECT_FALSE(button->Down());
    EXPECT_FALSE(button->MenuOpen());
    EXPECT_EQ(Shown, 1);
    EXPECT_EQ(Hidden, 1);
    EXPECT_EQ(Clicks, 0);

    // Deleting the menu leaves a plain push button.
    delete menu;
    EXPECT_EQ(button->SkinPopupMenu(), nullptr);
    Click(30, 40);
    EXPECT_EQ(Clicks, 1);
    EXPECT_FALSE(button->MenuOpen());
}

TEST_F(SkinMenuButtonsTest, InTrackModeOnlyTheRightStripOpensTheMenuAndTheRestClicks)
{
    auto* menu = new TPopupStandIn(Form);
    auto* button = Place(20, 30);
    button->SetSkinPopupMenu(menu);
    button->SetTrackButtonMode(true);
    EXPECT_FALSE(button->CanMenuTrack(59, 10));
    EXPECT_TRUE(button->CanMenuTrack(60, 10));
    Click(30, 40);
    EXPECT_EQ(Clicks, 1);
    EXPECT_TRUE(menu->Opened.empty());
    Click(20 + 75 - 5, 40);
    EXPECT_EQ(menu->Opened.size(), 1u);
    EXPECT_EQ(Clicks, 1);
    menu->Close();
    EXPECT_EQ(Hidden, 1);
}

TEST_F(SkinMenuButtonsTest, SpaceOpensThePopupMenuOrInTrackModeClicksWithoutAModalResult)
{
    auto* menu = new TPopupStandIn(Form);
    auto* button = Place(20, 30);
    button->SetSkinPopupMenu(menu);
    button->SetModalResult(mrOk);
    button->SetFocus();
    Pump();
    Backend.Key(VK_SPACE);
    Pump();
    EXPECT_EQ(menu->Opened.size(), 1u);
    EXPECT_TRUE(button->Down());
    menu->Close();
    EXPECT_EQ(Clicks, 0);

    button->SetTrackButtonMode(true);
    Backend.KeyDown(VK_SPACE);
    Pump();
    EXPECT_EQ(menu->Opened.size(), 1u);
    Backend.KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(Clicks, 1);
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(Form->ModalResult(), mrNone);
}

TEST_F(SkinMenuButtonsTest, TheImagesMenusCloseLiftsTheButtonAndItsChoiceRepaintsTheFace)
{
    auto* images = new TImageList(Form);
    images->SetWidth(8);
    images->SetHeight(8);
    TBitmap picture;
    picture.SetSize(8, 8);
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect(Rect(0, 0, 8, 8));
    images->Add(&picture, nullptr);
    auto* menu = new TImagesMenuStandIn(Form);
    menu->List = images;
    auto* button = Place(20, 30);
    button->SetSkinImagesMenu(menu);
    button->SetUseImagesMenuImage(true);
    EXPECT_TRUE(Find(Rect(20, 30, 95, 55), clRed).Left >= 95) << "no item chosen: no picture";
    menu->Select(0);
    EXPECT_LT(Find(Rect(20, 30, 95, 55), clRed).Left, 95) << "the choice repaints the face";

    MoveTo(30, 40);
    Press();
    ASSERT_EQ(menu->Opened.size(), 1u);
    EXPECT_TRUE(button->Hot());
    ASSERT_TRUE(menu->Closed);
    menu->Closed();
    EXPECT_FALSE(button->Down());
    EXPECT_FALSE(button->Hot());
    EXPECT_EQ(Hidden, 1);
    Release();
}

TEST_F(SkinMenuButtonsTest, TheSkinlessArrowMovesWhenPressedWhileTheContentStays)
{
    auto* menu = new TPopupStandIn(Form);
    auto* button = Place(20, 30);
    button->SetSkinPopupMenu(menu);
    TBitmap glyph;
    glyph.SetSize(8, 8);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(Rect(0, 0, 8, 8));
    glyph.Canvas()->SetPixels(0, 7, clWhite);
    button->SetGlyph(&glyph);
    const TRect strip = Rect(20 + 60, 30, 95, 55);
    const TRect face = Rect(20, 30, 20 + 60, 55);
    const TRect arrow = Find(strip, clBtnText);
    const TRect content = Find(face, clRed);
    ASSERT_LT(arrow.Left, arrow.Right);
    EXPECT_EQ(content.Right - content.Left, 8);
    MoveTo(30, 40);
    Press();
    const TRect pressedArrow = Find(strip, clBtnText);
    EXPECT_GT(pressedArrow.Left, arrow.Left);
    EXPECT_GT(pressedArrow.Top, arrow.Top);
    EXPECT_EQ(Find(face, clRed), content) << "the caption and picture stay in place";
    EXPECT_EQ(At(30, 40), Rgb(TColor(0xB59385))) << "the pressed fill";
    menu->Close();
    Release();
}

TEST_F(SkinMenuButtonsTest, TheSkinlessLookShowsThePressedGlyphCellWhileDownAndHotWithoutMovingIt)
{
    auto* button = Place(20, 30);
    // A 4-cell strip of 8 x 8 solid cells (red, green, blue, yellow), each with a white transparent corner.
    TBitmap glyph;
    glyph.SetSize(32, 8);
    const TColor cells[] = { clRed, clLime, clBlue, clYellow };
    for (int i = 0; i < 4; ++i) {
        glyph.Canvas()->Brush()->SetColor(cells[i]);
        glyph.Canvas()->FillRect(Rect(8 * i, 0, 8 * i + 8, 8));
        glyph.Canvas()->SetPixels(8 * i, 7, clWhite);
    }
    button->SetGlyph(&glyph);
    button->SetNumGlyphs(4);
    const TRect face = Rect(20, 30, 20 + 60, 55);
    MoveTo(30, 40);
    const TRect hot = Find(face, clYellow);
    ASSERT_EQ(hot.Right - hot.Left, 8);
    Press();
    EXPECT_EQ(Find(face, clBlue), hot) << "the pressed cell, in place";
    Release();
}

TEST_F(SkinMenuButtonsTest, ToolButtonLooksDrawTheStateAndTheMarkerStripFromTheRecord)
{
    TFixtureSkin fixture;
    fixture.AddActivePicture("tools.bmp", 120, 60, kSeed);
    // Stretched tool look: three 30 x 20 pictures with 4-pixel borders.
    fixture.AddControl("toolbutton", "button",
        { { "pictureindex", "0" }, { "skinrect", "0,0,30,20" }, { "clientrect", "4,4,26,16" },
            { "activeskinrect", "30,0,60,20" }, { "downskinrect", "60,0,90,20" } });
    auto* skin = new TspSkinData(Application);
    skin->LoadFromFile(fixture.Write());
    ASSERT_FALSE(skin->Empty);
    auto* menu = new TPopupStandIn(Form);
    auto* button = Place(20, 30);
    button->SetSkinPopupMenu(menu);
    button->SetUseSkinSize(false);
    button->SetSkinDataName("toolbutton");
    button->SetSkinData(skin);
    button->SetTrackButtonMode(true);
    button->SetBounds(20, 30, 90, 20);
    Pump();
    auto picture = [&](int x, int y) { return TFixtureSkin::PixelOf(x, y, kSeed); };
    // The corners of each part are the picture's corners, the main part and the track part each whole.
    EXPECT_EQ(At(20, 30), picture(0, 0));
    EXPECT_EQ(At(20 + 75 - 1, 30), picture(29, 0)) << "the main part ends at Width - 15";
    EXPECT_EQ(At(20 + 75, 30), picture(0, 0)) << "the track part starts as a whole picture";
    MoveTo(25, 35);
    EXPECT_EQ(At(20, 30), picture(30, 0)) << "hot";
    EXPECT_EQ(At(20 + 75, 30), picture(30, 0));
    MoveTo(20 + 80, 35);
    Press();
    EXPECT_TRUE(button->MenuOpen());
    EXPECT_EQ(At(20, 30), picture(30, 0)) << "menu open: the main part hot";
    EXPECT_EQ(At(20 + 75, 30), picture(60, 0)) << "and the track part pressed";
    menu->Close();
    Release();
}

TEST_F(SkinMenuButtonsTest, AnXFormButtonKeepsItsPicturesSizeAndTakesTheShapeOfItsMask)
{
    auto* button = new TspSkinXFormButton(Form);
    button->SetParent(Form);
    button->SetBounds(20, 30, 75, 25);
    EXPECT_FALSE(button->CanFocused());
    TBitmap image;
    image.SetSize(40, 20);
    image.Canvas()->Brush()->SetColor(clGreen);
    image.Canvas()->FillRect(Rect(0, 0, 40, 20));
    button->SetDefImage(&image);
    EXPECT_EQ(button->Width(), 40);
    button->SetWidth(100);
    EXPECT_EQ(button->Width(), 40);
    EXPECT_EQ(button->Height(), 20);
    // A disc of black pixels on white.
    TBitmap mask;
    mask.SetSize(40, 20);
    mask.Canvas()->Brush()->SetColor(clWhite);
    mask.Canvas()->FillRect(Rect(0, 0, 40, 20));
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->Pen()->SetColor(clBlack);
    mask.Canvas()->Ellipse(10, 0, 30, 20);
    button->SetDefMask(&mask);
    Form->SetColor(clTeal);
    Pump();
    EXPECT_EQ(At(20 + 20, 30 + 10), Rgb(clGreen)) << "inside the disc";
    EXPECT_EQ(At(20 + 1, 30 + 1), Rgb(clTeal)) << "outside it the form shows";
    EXPECT_EQ(At(20 + 11, 30 + 1), Rgb(clTeal));

    // Hot and pressed pictures.
    TBitmap active;
    active.SetSize(40, 20);
    active.Canvas()->Brush()->SetColor(clYellow);
    active.Canvas()->FillRect(Rect(0, 0, 40, 20));
    button->SetDefActiveImage(&active);
    MoveTo(20 + 20, 30 + 10);
    EXPECT_EQ(At(20 + 20, 30 + 10), Rgb(clYellow));
    Press();
    EXPECT_EQ(At(20 + 20, 30 + 10), Rgb(clYellow)) << "no pressed picture: the hot one stays";
    Release();
}

// ---- The menu speed button --------------------------------------------------------------------------------------

TEST_F(SkinMenuButtonsTest, ANewStyleButtonWithABottomTrackStripDrawsItFromItsOwnRecordAndOpensTheMenuThere)
{
    TFixtureSkin fixture;
    fixture.AddActivePicture("tools.bmp", 120, 60, kSeed);
    const TFixtureSkin::TKeyValues nine { { "pictureindex", "0" }, { "lefttoppoint", "4,4" }, { "righttoppoint", "26,4" },
        { "leftbottompoint", "4,16" }, { "rightbottompoint", "26,16" }, { "clientrect", "4,4,26,16" } };
    TFixtureSkin::TKeyValues main = nine;
    main.insert(main.end(), { { "skinrect", "0,0,30,20" }, { "activeskinrect", "30,0,60,20" },
                                { "downskinrect", "60,0,90,20" } });
    fixture.AddControl("resizetoolbutton", "button", main);
    TFixtureSkin::TKeyValues track = nine;
    track.insert(track.end(), { { "skinrect", "0,20,30,40" }, { "activeskinrect", "30,20,60,40" },
                                 { "downskinrect", "60,20,90,40" } });
    fixture.AddControl("htracktoolbutton", "button", track);
    auto* skin = new TspSkinData(Application);
    skin->LoadFromFile(fixture.Write());
    ASSERT_FALSE(skin->Empty);

    auto* menu = new TPopupStandIn(Form);
    auto* button = new TspSkinMenuSpeedButton(Form);
    button->SetParent(Form);
    button->SetNewStyle(true);
    EXPECT_EQ(button->SkinDataName(), "resizetoolbutton");
    button->SetTrackButtonMode(true);
    button->SetTrackPosition(sptpBottom);
    button->SetSkinPopupMenu(menu);
    button->SetSkinData(skin);
    button->SetBounds(20, 30, 60, 50);
    button->OnClick = [this](TObject*) { ++Clicks; };
    Pump();
    auto picture = [&](int x, int y) { return TFixtureSkin::PixelOf(x, y, kSeed); };
    MoveTo(25, 35);
    EXPECT_EQ(At(20, 30 + 50 - 15), picture(30, 20)) << "the strip from the track record, hot";
    EXPECT_EQ(At(20, 30), picture(30, 0)) << "the main part hot";
    MoveTo(25, 30 + 50 - 5);
    Press();
    EXPECT_TRUE(button->MenuOpen());
    EXPECT_EQ(menu->Opened.size(), 1u);
    EXPECT_EQ(At(20, 30 + 50 - 15), picture(60, 20)) << "the track part pressed";
    EXPECT_EQ(At(20, 30), picture(30, 0)) << "while the main part stays hot";
    Release();
    EXPECT_TRUE(button->Down());
    button->Perform(WM_CLOSESKINMENU, 0, 0);
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(Clicks, 0);
    // Above the strip it acts as a speed button.
    Click(25, 35);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(menu->Opened.size(), 1u);

    // A skin with neither main record: nothing at all is drawn into the image.
    TFixtureSkin bare;
    bare.AddActivePicture("tools.bmp", 120, 60, kSeed);
    bare.AddControl("resizetoolbutton", "stdlabel", { { "fontcolor", "255" } });
    auto* other = new TspSkinData(Application);
    other->LoadFromFile(bare.Write());
    button->SetSkinData(other);
    MoveTo(300, 250);
    const uint32_t corner = At(20, 30);
    for (int y = 30; y < 30 + button->Height(); y += 3)
        for (int x = 20; x < 20 + button->Width(); x += 3)
            EXPECT_EQ(At(x, y), corner) << x << "," << y;
}

TEST_F(SkinMenuButtonsTest, OnAToolBarADisabledMenuSpeedButtonGreysTheDisabledPictureAndAPlainOneDoesNot)
{
    auto* bar = new TToolBarStandIn(Form);
    bar->SetParent(Form);
    bar->SetBounds(0, 0, 300, 60);
    bar->List = SolidList(Form, clBlue);
    bar->Disabled = SolidList(Form, clRed);
    auto* plain = new TspSkinSpeedButton(Form);
    plain->SetParent(bar);
    plain->SetBounds(10, 10, 40, 30);
    auto* menuButton = new TspSkinMenuSpeedButton(Form);
    menuButton->SetParent(bar);
    menuButton->SetBounds(100, 10, 55, 30);
    Pump();
    EXPECT_LT(Find(Rect(10, 10, 50, 40), clBlue).Left, 50) << "enabled: the tool bar's Images";
    plain->SetEnabled(false);
    menuButton->SetEnabled(false);
    EXPECT_LT(Find(Rect(10, 10, 50, 40), clRed).Left, 50) << "plain: ungreyed";
    EXPECT_GE(Find(Rect(100, 10, 140, 40), clRed).Left, 140) << "menu speed button: greyed";
    EXPECT_GE(Find(Rect(100, 10, 140, 40), clBlue).Left, 140);
}

#ifdef TP_SKIN_DIR
TEST_F(SkinMenuButtonsTest, TheProgramsSkinGivesTheMenuButtonItsResizeButtonLook)
{
    auto* programSkin = new TspSkinData(Application);
    programSkin->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
    ASSERT_FALSE(programSkin->Empty);
    auto* menu = new TPopupStandIn(Form);
    auto* button = Place(20, 30);
    button->SetSkinPopupMenu(menu);
    button->SetSkinDataName("resizebutton");
    button->SetSkinData(programSkin);
    button->SetBounds(20, 30, 120, 26);
    Pump();
    ASSERT_NE(button->GetSkinIndex(), -1);
    const uint32_t idle = At(20 + 30, 30 + 3);
    MoveTo(20 + 30, 30 + 10);
    const uint32_t hot = At(20 + 30, 30 + 3);
    EXPECT_NE(idle, hot);
    // The strip holds the arrow in the caption colour of the record.
    Press();
    EXPECT_TRUE(button->MenuOpen());
    menu->Close();
    Release();
    EXPECT_EQ(Hidden, 1);
}
#endif

// ---- With the skinned popup menu --------------------------------------------------------------------------------

TEST_F(SkinMenuButtonsTest, TheSkinnedPopupMenuOpensUnderBothMenuButtonsAndItsCloseLiftsThem)
{
    auto* skinner = new TspSkinForm(Form);
    TspSkinMenu* chain = skinner->SkinMenu();
    auto* menu = new TspSkinPopupMenu(Form);
    for (const char* caption : { "One", "Two" }) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(caption);
        menu->Items()->Add(item);
    }
    auto* button = Place(20, 30);
    button->SetSkinPopupMenu(menu);
    auto* speed = new TspSkinMenuSpeedButton(Form);
    speed->SetParent(Form);
    speed->SetBounds(120, 30, 60, 25);
    speed->SetSkinPopupMenu(menu);
    speed->OnHideTrackMenu = [this](TObject*) { ++Hidden; };
    Pump();
    for (TControl* opener : std::vector<TControl*> { button, speed }) {
        const int hiddenBefore = Hidden;
        MoveTo(opener->Left() + 10, 40);
        Press();
        Release();
        ASSERT_EQ(chain->LevelCount(), 1) << opener->ClassName();
        EXPECT_TRUE(opener == button ? button->Down() : speed->Down());
        Backend.Key(VK_ESCAPE);
        Pump();
        EXPECT_EQ(chain->LevelCount(), 0);
        EXPECT_FALSE(opener == button ? button->Down() : speed->Down()) << opener->ClassName();
        EXPECT_FALSE(opener == button ? button->MenuOpen() : speed->MenuOpen());
        EXPECT_EQ(Hidden, hiddenBefore + 1);
    }
}
