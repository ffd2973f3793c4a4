// The looks of skinned menus on the headless display: looks kept across openings against freshly drawn ones,
// the hover morph on the virtual clock, translucent levels, submenus against both edges of the work area, and the
// skinned hint drawn from its skin picture.
#include "framework/controls/Menus.h"
#include "framework/controls/TTimer.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Raster.h"
#include "platform/win/GdiObjects.h"
#include "platform/win/Regions.h"
#include "platform/win/VirtualKeys.h"
#include "skin/core/SkinObjectRecords.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/menus/TspMenuLookCache.h"
#include "skin/menus/TspSkinHint.h"
#include "skin/menus/TspSkinMenu.h"
#include "skin/menus/TspSkinMenuItem.h"
#include "skin/menus/TspSkinPopupMenu.h"
#include "skin/menus/TspSkinPopupWindow.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/framework/ControlsTestSupport.h"

#include <cmath>
#include <functional>

namespace {

// The whole of a shown level, 0x00RRGGBB, rows top-down.
struct TLevelImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
    bool operator==(const TLevelImage&) const = default;
};

class SkinMenuLookTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Application->CreateForm(Form);
        Form->SetBounds(100, 100, 300, 200);
        Skinner = new TspSkinForm(Form);
        Chain = Skinner->SkinMenu();
        Menu = new TspSkinPopupMenu(Form);
        Form->Show();
        Pump();
    }

    TMenuItem* Add(TMenuItem* parent, const std::string& caption)
    {
        auto* item = new TMenuItem(Menu);
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    }

    TspSkinData* ProgramSkin()
    {
        auto* skin = new TspSkinData(Form);
        skin->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
        EXPECT_FALSE(skin->Empty);
        return skin;
    }

    // Opens the menu on `chain` at a fixed point, reads the whole level back and closes it again.
    TLevelImage Shown(TspSkinMenu* chain, TspSkinData* skin)
    {
        chain->Popup(nullptr, skin, 0, TRect(200, 150, 200, 150), Menu->Items(), false);
        Pump();
        TLevelImage image;
        if (chain->LevelCount() == 0)
            return image;
        image = Read(chain->Level(0));
        chain->CloseMenu(0);
        Pump();
        return image;
    }

    // The whole of a shown level as it is now.
    TLevelImage Read(TspSkinPopupWindow* level)
    {
        TLevelImage image;
        image.Width = level->Width();
        image.Height = level->Height();
        // Read through the window's device context in one copy; a few points are checked against the back
        // buffer the display shows.
        TBitmap copy;
        copy.SetPixelFormat(pf32bit);
        copy.SetSize(image.Width, image.Height);
        HDC dc = GetDC(level->Handle());
        BitBlt(copy.Canvas()->Handle(), 0, 0, image.Width, image.Height, dc, 0, 0, SRCCOPY);
        ReleaseDC(level->Handle(), dc);
        for (int y = 0; y < image.Height; ++y) {
            const auto* row = static_cast<const uint32_t*>(copy.ScanLine(y));
            for (int x = 0; x < image.Width; ++x)
                image.Pixels.push_back(row[x] & 0xFFFFFF);
        }
        for (const TPoint p : { TPoint { 0, 0 }, TPoint { image.Width / 2, image.Height / 2 },
                 TPoint { image.Width - 1, image.Height - 1 } })
            EXPECT_EQ(image.Pixels[size_t(p.Y * image.Width + p.X)], Backend.WindowPixel(level->Handle(), p.X, p.Y));
        return image;
    }

    // A chain that has kept no looks yet, with the form chain's settings.
    TspSkinMenu* FreshChain()
    {
        auto* chain = new TspSkinMenu(Form, Form);
        chain->SetDefaultMenuItemFont(Chain->DefaultMenuItemFont());
        chain->UseSkinFont = Chain->UseSkinFont;
        chain->DefaultMenuItemHeight = Chain->DefaultMenuItemHeight;
        return chain;
    }

    void Tick(int ms)
    {
        for (int step = 0; step < ms; step += 10) {
            Backend.AdvanceClock(10);
            Pump();
        }
    }

    TForm* Form = nullptr;
    TspSkinForm* Skinner = nullptr;
    TspSkinMenu* Chain = nullptr;
    TspSkinPopupMenu* Menu = nullptr;
};

// ---- Looks kept across openings ---------------------------------------------------------------------------------

// Each change of something an item shows must reach the screen when the menu opens again: the chain that kept
// the earlier looks shows exactly what a chain drawing everything anew shows, and that differs from before.
TEST_F(SkinMenuLookTest, AMenuOpenedAgainShowsEveryChangeExactlyAsAFreshlyDrawnOne)
{
    TspSkinData* programSkin = ProgramSkin();
    TMenuItem* first = Add(Menu->Items(), "First");
    // The widest item, so that the changes of the others keep the level's width.
    TMenuItem* second = Add(Menu->Items(), "Second item, the widest of them");
    Add(Menu->Items(), "-");
    TMenuItem* third = Add(Menu->Items(), "Third");
    struct TCase {
        const char* What;
        bool Skinned;
        std::function<void()> Change;
    };
    auto font = [&](const char* name, int height) {
        TFont f;
        f.SetName(name);
        f.SetHeight(height);
        Chain->SetDefaultMenuItemFont(&f);
    };
    auto recordOf = [&] {
        return static_cast<TspDataSkinMenuItem*>(
            programSkin->ObjectRecords[size_t(programSkin->GetIndex("menuitem"))].get());
    };
    const TCase cases[] = {
        { "another caption", false, [&] { first->SetCaption("Fourth"); } },
        { "a shortcut", false, [&] { third->SetShortCut(ShortCut('T', TShiftState { ssCtrl })); } },
        { "a disabled item", false, [&] { third->SetEnabled(false); } },
        { "a check mark", false, [&] { second->SetChecked(true); } },
        { "a checked item becoming a radio item", false, [&] { second->SetRadioItem(true); } },
        { "a submenu arrow", false, [&] { Add(third, "Child"); } },
        { "a form-command glyph", false, [&] { first->SetName("SKF_CLOSE"); } },
        { "a wider level from a longer caption", false,
            [&] { first->SetCaption("Fourth, now the widest item of them all"); } },
        { "an item freed and another made in its place", false,
            [&] {
                delete first;
                first = Add(Menu->Items(), "First again");
            } },
        { "the default item font", false, [&] { font("Courier New", 15); } },
        { "the default item height", false, [&] { Chain->DefaultMenuItemHeight = 24; } },
        { "the skin look", true, [] {} },
        { "the skin's item picture drawn over", true,
            [&] {
                TBitmap* picture = programSkin->ActivePictures[size_t(recordOf()->ActivePictureIndex)].get();
                const TRect r = recordOf()->SkinRect;
                picture->Canvas()->Brush()->SetColor(TColor(0x3070B0));
                picture->Canvas()->FillRect(TRect(r.Left + 40, r.Top, r.Left + 60, r.Bottom));
            } },
        { "the skin's text colour", true, [&] { recordOf()->FontColor = TColor(0x0000FF); } },
        { "the skin's text rectangle", true, [&] { recordOf()->TextRect.Left += 6; } },
        { "the default font instead of the skin font", true, [&] { Chain->UseSkinFont = false; } },
        { "the skin loaded again from its file", true,
            [&] { programSkin->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini"); } },
    };
    TspSkinData* skin = nullptr;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        // Shown once, so the chain keeps its looks from before the change.
        const TLevelImage before = Shown(Chain, skin);
        c.Change();
        if (c.Skinned)
            skin = programSkin;
        const TLevelImage kept = Shown(Chain, skin);
        TspSkinMenu* fresh = FreshChain();
        const TLevelImage drawn = Shown(fresh, skin);
        delete fresh;
        ASSERT_FALSE(drawn.Pixels.empty());
        EXPECT_NE(drawn, before);
        EXPECT_TRUE(kept == drawn);
        // Shown again without a change, the kept looks give the same pixels.
        EXPECT_TRUE(Shown(Chain, skin) == drawn);
    }
}

// Opening a level paints all of it at once, highlighted item included, before any message is handled: what a
// full repaint draws afterwards and what the pending paint leaves are the same pixels. Each window of these
// openings takes over the buffer of the level before it, whose pixels must not show through.
TEST_F(SkinMenuLookTest, OpeningALevelPaintsItInFullAtOnce)
{
    for (int i = 1; i <= 6; ++i)
        Add(Menu->Items(), "Item " + std::to_string(i));
    for (TspSkinData* skin : { static_cast<TspSkinData*>(nullptr), ProgramSkin() }) {
        SCOPED_TRACE(skin ? "skin look" : "default look");
        for (int opening = 0; opening < 3; ++opening) {
            Chain->Popup(nullptr, skin, 0, TRect(200, 150, 200, 150), Menu->Items(), false);
            ASSERT_EQ(Chain->LevelCount(), 1);
            TspSkinPopupWindow* level = Chain->Level(0);
            ASSERT_EQ(level->ActiveItem, 0);
            const TLevelImage opened = Read(level);
            HDC dc = GetDC(level->Handle());
            level->PaintMenu(dc);
            ReleaseDC(level->Handle(), dc);
            EXPECT_TRUE(Read(level) == opened);
            Pump();
            EXPECT_TRUE(Read(level) == opened);
            Chain->CloseMenu(0);
            Pump();
        }
    }
}

// The erase that shows a level paints all of it and leaves nothing for a paint message; whatever spoils the
// level later is painted again by the next paint, whether that paint erases first or not.
TEST_F(SkinMenuLookTest, ASpoiledLevelIsPaintedAgainWithOrWithoutAnErase)
{
    for (int i = 1; i <= 4; ++i)
        Add(Menu->Items(), "Item " + std::to_string(i));
    Chain->Popup(nullptr, nullptr, 0, TRect(200, 150, 200, 150), Menu->Items(), false);
    TspSkinPopupWindow* level = Chain->Level(0);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(level->Handle(), &update, FALSE));
    Pump();
    const TLevelImage opened = Read(level);
    for (const BOOL erase : { FALSE, TRUE, FALSE }) {
        SCOPED_TRACE(erase ? "with an erase" : "without an erase");
        HDC dc = GetDC(level->Handle());
        PatBlt(dc, 0, 0, level->Width(), level->Height(), BLACKNESS);
        ReleaseDC(level->Handle(), dc);
        ASSERT_FALSE(Read(level) == opened);
        InvalidateRect(level->Handle(), nullptr, erase);
        Pump();
        EXPECT_TRUE(Read(level) == opened);
    }
    Chain->CloseMenu(0);
    Pump();
}

// A level paints on the image a closed level of its size left behind: whatever that image shows differently
// (another highlight, other items of the same size) is drawn again.
TEST_F(SkinMenuLookTest, ALevelOnTheImageOfAClosedOneShowsOnlyItsOwnItems)
{
    for (int i = 1; i <= 4; ++i)
        Add(Menu->Items(), "Item " + std::to_string(i));
    TspSkinMenu* fresh = FreshChain();
    const TLevelImage expected = Shown(fresh, nullptr);
    // Closed with the highlight on the third item.
    Chain->Popup(nullptr, nullptr, 0, TRect(200, 150, 200, 150), Menu->Items(), false);
    Chain->Level(0)->PopupKeyDown(VK_DOWN);
    Chain->Level(0)->PopupKeyDown(VK_DOWN);
    Chain->CloseMenu(0);
    Pump();
    EXPECT_TRUE(Shown(Chain, nullptr) == expected);
    // Other captions of the same widths give a level of the same size.
    for (int i = 0; i < 4; ++i)
        Menu->Items()->Items(i)->SetCaption("Item " + std::to_string(i + 5));
    const TLevelImage others = Shown(Chain, nullptr);
    ASSERT_EQ(others.Width, expected.Width);
    ASSERT_EQ(others.Height, expected.Height);
    EXPECT_NE(others, expected);
    EXPECT_TRUE(others == Shown(fresh, nullptr));
    delete fresh;
}

// The skin's mask gives each level its window region; a level like the last one gets the same region without
// tracing the mask again, and a changed mask gives a new one.
TEST_F(SkinMenuLookTest, TheWindowRegionFollowsTheMaskAcrossOpenings)
{
    TspSkinData* skin = ProgramSkin();
    ASSERT_NE(skin->PopupWindow->MaskPictureIndex, -1);
    Add(Menu->Items(), "First");
    Add(Menu->Items(), "Second");
    auto region = [&](TspSkinMenu* chain) {
        chain->Popup(nullptr, skin, 0, TRect(200, 150, 200, 150), Menu->Items(), false);
        Pump();
        HRGN result = CreateRectRgn(0, 0, 0, 0);
        EXPECT_NE(GetWindowRgn(chain->Level(0)->Handle(), result), ERROR);
        chain->CloseMenu(0);
        Pump();
        return result;
    };
    auto sameAsFresh = [&](HRGN shown) {
        TspSkinMenu* fresh = FreshChain();
        HRGN drawn = region(fresh);
        delete fresh;
        const bool same = EqualRgn(shown, drawn);
        DeleteObject(drawn);
        DeleteObject(shown);
        return same;
    };
    HRGN first = region(Chain);
    RECT box;
    EXPECT_EQ(GetRgnBox(first, &box), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(first, 0, 0));
    EXPECT_TRUE(sameAsFresh(first));
    EXPECT_TRUE(sameAsFresh(region(Chain)));
    // The mask's top-left corner made opaque: the corner belongs to the window now.
    TBitmap* mask = skin->ActivePictures[size_t(skin->PopupWindow->MaskPictureIndex)].get();
    mask->Canvas()->Brush()->SetColor(clBlack);
    mask->Canvas()->FillRect(TRect(0, 0, 8, 8));
    HRGN changed = region(Chain);
    EXPECT_TRUE(PtInRegion(changed, 0, 0));
    EXPECT_TRUE(sameAsFresh(changed));
}

TEST_F(SkinMenuLookTest, ItemsWithImagesAreDrawnAgainAtEachOpening)
{
    TMenuItem* item = Add(Menu->Items(), "Picture");
    TBitmap* bitmap = item->Bitmap();
    bitmap->SetSize(12, 12);
    bitmap->Canvas()->Brush()->SetColor(TColor(0x00FF00));
    bitmap->Canvas()->FillRect(TRect(0, 0, 12, 12));
    const TLevelImage green = Shown(Chain, nullptr);
    // The bitmap changes in place: nothing tells the chain, so only drawing it again shows it.
    bitmap->Canvas()->Brush()->SetColor(TColor(0xFF0000));
    bitmap->Canvas()->FillRect(TRect(0, 0, 12, 12));
    const TLevelImage blue = Shown(Chain, nullptr);
    EXPECT_NE(blue, green);
    TspSkinMenu* fresh = FreshChain();
    EXPECT_TRUE(Shown(fresh, nullptr) == blue);
    delete fresh;
}

TEST_F(SkinMenuLookTest, TheKeptLooksStayBounded)
{
    for (int i = 0; i < 30; ++i)
        Add(Menu->Items(), "Item");
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 30; ++i)
            Menu->Items()->Items(i)->SetCaption("Item " + std::to_string(round) + "." + std::to_string(i));
        Shown(Chain, nullptr);
    }
    const int count = Chain->Looks()->LookCount();
    EXPECT_LE(count, int(TspMenuLookCache::MaxLooks));
    // The looks let go are the oldest: the last menu's are still there.
    Shown(Chain, nullptr);
    EXPECT_EQ(Chain->Looks()->LookCount(), count);
}

// ---- The hover morph --------------------------------------------------------------------------------------------

// With "morphing" the highlight blends in over six 20 ms ticks of the level's morph timer and out again the same
// way, and the timer stops once nothing moves.
TEST_F(SkinMenuLookTest, TheHoverMorphStepsOnTheMorphTimer)
{
    TspSkinData* skin = ProgramSkin();
    Skinner->SetMenusSkinData(skin);
    Add(Menu->Items(), "First");
    Add(Menu->Items(), "Second");
    auto* record = static_cast<TspDataSkinMenuItem*>(skin->ObjectRecords[size_t(skin->GetIndex("menuitem"))].get());
    record->Morphing = true;
    record->MorphKind = mkDefault;
    Menu->Popup(200, 150);
    Pump();
    TspSkinPopupWindow* level = Chain->Level(0);
    TspSkinMenuItem* a = level->ItemList[0].get();
    TspSkinMenuItem* b = level->ItemList[1].get();
    ASSERT_TRUE(a->Active);
    EXPECT_TRUE(level->MorphTimer->Enabled());
    EXPECT_EQ(a->MorphKf, 0.0);
    // A point of the item's background away from its text.
    const int x = a->ObjectRect.Right - 12;
    auto at = [&](const TspSkinMenuItem* item) {
        return Backend.WindowPixel(level->Handle(), x, (item->ObjectRect.Top + item->ObjectRect.Bottom) / 2);
    };
    const uint32_t idle = at(b);
    const uint32_t start = at(a);
    EXPECT_EQ(start, idle);
    std::vector<double> factors;
    for (int tick = 0; tick < 6; ++tick) {
        Tick(20);
        factors.push_back(a->MorphKf);
    }
    // Five steps of 0.2 stay just below 1; the sixth is held at 1.
    EXPECT_NEAR(factors[0], 0.2, 1e-9);
    EXPECT_NEAR(factors[2], 0.6, 1e-9);
    EXPECT_LT(factors[4], 1.0);
    EXPECT_EQ(factors[5], 1.0);
    const uint32_t hot = at(a);
    EXPECT_NE(hot, idle);
    Tick(20);
    EXPECT_FALSE(level->MorphTimer->Enabled());
    // Down: the first item blends out while the second blends in, half-way after three ticks.
    level->PopupKeyDown(VK_DOWN);
    Tick(60);
    EXPECT_NEAR(a->MorphKf, 0.4, 1e-9);
    EXPECT_NEAR(b->MorphKf, 0.6, 1e-9);
    const uint32_t mixed = at(b);
    EXPECT_NE(mixed, idle);
    EXPECT_NE(mixed, hot);
    Tick(80);
    EXPECT_EQ(a->MorphKf, 0.0);
    EXPECT_EQ(b->MorphKf, 1.0);
    EXPECT_EQ(at(a), idle);
    EXPECT_EQ(at(b), hot);
    Chain->Hide();
}

// ---- Translucent levels -----------------------------------------------------------------------------------------

TEST_F(SkinMenuLookTest, MenusAlphaBlendValueBecomesTheLevelsLayerOpacity)
{
    Add(Menu->Items(), "First");
    Add(Menu->Items(), "Sub");
    Add(Menu->Items()->Items(1), "Child");
    Skinner->SetMenusAlphaBlend(true);
    Skinner->SetMenusAlphaBlendValue(150);
    Menu->Popup(200, 150);
    Pump();
    Chain->LastLevel()->PopupKeyDown(VK_DOWN);
    Chain->LastLevel()->PopupKeyDown(VK_RIGHT);
    ASSERT_EQ(Chain->LevelCount(), 2);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const HWND window = Chain->Level(i)->Handle();
        EXPECT_TRUE(GetWindowLong(window, GWL_EXSTYLE) & WS_EX_LAYERED);
        ASSERT_NE(Backend.Native(window), nullptr);
        EXPECT_EQ(Backend.Native(window)->Opacity, 150);
    }
    Chain->Hide();
    Pump();
    // With the fade-in the first level ends at the value too; the opacity steps run on the tick count alone.
    Skinner->SetMenusAlphaBlendAnimation(true);
    Backend.SetClockStepPerRead(1);
    Menu->Popup(200, 150);
    Pump();
    Backend.SetClockStepPerRead(0);
    EXPECT_EQ(Backend.Native(Chain->Level(0)->Handle())->Opacity, 150);
    Chain->Hide();
    Pump();
    // Without the value the level is opaque.
    Skinner->SetMenusAlphaBlend(false);
    Menu->Popup(200, 150);
    Pump();
    EXPECT_FALSE(GetWindowLong(Chain->Level(0)->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(Backend.Native(Chain->Level(0)->Handle())->Opacity, 255);
    Chain->Hide();
}

// On a system without layered windows the level shows 100 ms later, mixed with the screen that was under it.
TEST_F(SkinMenuLookTest, WithoutLayeredWindowsTheLevelIsMixedWithTheScreenUnderIt)
{
    Backend.SetSystemVersion(4, 10);
    Backend.SetLayeredWindows(false);
    Backend.SetDesktopColor(RGB(0, 0, 0));
    Add(Menu->Items(), "First");
    Add(Menu->Items(), "Second");
    Skinner->SetMenusAlphaBlend(true);
    Skinner->SetMenusAlphaBlendValue(150);
    Menu->Popup(600, 400);
    Pump();
    TspSkinPopupWindow* level = Chain->Level(0);
    EXPECT_FALSE(level->Showing());
    Tick(100);
    ASSERT_TRUE(level->Showing());
    // The window colour of the second item's text area over black: 150/255 of white.
    const TRect r = level->ItemList[1]->ObjectRect;
    const uint32_t pixel = Backend.WindowPixel(level->Handle(), r.Right - 8, r.Top + 3);
    const int expected = int(std::lround(255 * 150 / 255.0));
    for (int shift : { 0, 8, 16 })
        EXPECT_NEAR(int((pixel >> shift) & 0xFF), expected, 2);
    Chain->Hide();
}

// ---- Submenus against the work area -----------------------------------------------------------------------------

TEST_F(SkinMenuLookTest, ASubmenuOpensLeftOfItsItemOnlyWhenItDoesNotFitOnTheRight)
{
    // A work area narrower than the monitor, so both of its edges lie inside the screen.
    Backend.SetMonitors({ TMonitorLayout { RECT { 0, 0, 1024, 768 }, RECT { 100, 0, 900, 768 }, true } });
    Add(Menu->Items(), "A rather wide item for the root level");
    TMenuItem* sub = Add(Menu->Items(), "Sub");
    Add(sub, "Narrow");
    auto open = [&](int x) {
        Menu->Popup(x, 150);
        Pump();
        Chain->LastLevel()->PopupKeyDown(VK_DOWN);
        Chain->LastLevel()->PopupKeyDown(VK_RIGHT);
    };
    open(300);
    ASSERT_EQ(Chain->LevelCount(), 2);
    const int rootWidth = Chain->Level(0)->Width();
    const int subWidth = Chain->Level(1)->Width();
    const int itemRight = Chain->Level(0)->ItemList[1]->ObjectRect.Right;
    Chain->Hide();
    Pump();
    ASSERT_LT(subWidth, rootWidth);
    // The root's left edge that puts the submenu's right edge exactly on the work area's right edge.
    const int exact = 900 - subWidth - 1 - itemRight;
    struct TCase {
        int RootLeft;
        bool Right;
        const char* What;
    };
    const TCase cases[] = {
        { 100, true, "at the work area's left edge: right of the item" },
        { exact, true, "ending exactly on the work area's right edge: still right of the item" },
        { exact + 1, false, "one pixel more: left of the item" },
        { 900 - rootWidth, false, "at the work area's right edge: left of the item" },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        open(c.RootLeft);
        ASSERT_EQ(Chain->LevelCount(), 2);
        EXPECT_EQ(Chain->Level(0)->Left(), c.RootLeft);
        const TRect parent = Chain->Level(0)->ItemScreenRect(Chain->Level(0)->ItemList[1].get());
        EXPECT_EQ(Chain->Level(1)->Left(), c.Right ? parent.Right + 1 : parent.Left - subWidth - 1);
        Chain->Hide();
        Pump();
    }
}

// ---- The skinned hint -------------------------------------------------------------------------------------------

// The hint's frame comes from the skin picture (its corners copied as they are, the edges stretched to the text's
// size) and its text is drawn in the skin's colour inside the client rectangle.
TEST_F(SkinMenuLookTest, TheSkinnedHintIsDrawnFromItsPictureAndTextColour)
{
    TFixtureSkin fixture;
    const uint32_t seed = 7;
    fixture.AddActivePicture("hint.bmp", 40, 30, seed);
    fixture.Set("HINTWINDOW",
        { { "windowpictureindex", "0" }, { "lefttoppoint", "5,5" }, { "righttoppoint", "35,5" },
            { "leftbottompoint", "5,25" }, { "rightbottompoint", "35,25" }, { "clientrect", "5,5,35,25" },
            { "fontcolor", "255" }, { "fontheight", "14" }, { "leftstretch", "1" }, { "rightstretch", "1" },
            { "topstretch", "1" }, { "bottomstretch", "1" }, { "stretcheffect", "1" } });
    auto* skin = new TspSkinData(Form);
    skin->LoadFromFile(fixture.Write());
    ASSERT_FALSE(skin->Empty);
    auto* hint = new TspSkinHint(Form);
    hint->SetSkinData(skin);
    const std::string text = "A hint of some length";
    hint->ActivateHint(TPoint { 200, 300 }, text);
    Pump();
    TspSkinHintWindow* window = hint->HintWindow();
    ASSERT_TRUE(hint->IsVisible());
    const HWND handle = window->Handle();
    const int w = window->Width();
    const int h = window->Height();
    // The text is wider than the picture's client part, so the window grew by the difference.
    EXPECT_GT(w, 40);
    EXPECT_GE(h, 30);
    struct TCorner {
        int X, Y, PictureX, PictureY;
    };
    const TCorner corners[] = {
        { 0, 0, 0, 0 },
        { 4, 4, 4, 4 },
        { w - 1, 0, 39, 0 },
        { 0, h - 1, 0, 29 },
        { w - 1, h - 1, 39, 29 },
        { w - 5, h - 5, 35, 25 },
    };
    for (const TCorner& c : corners) {
        SCOPED_TRACE(std::to_string(c.X) + "," + std::to_string(c.Y));
        EXPECT_EQ(Backend.WindowPixel(handle, c.X, c.Y), TFixtureSkin::PixelOf(c.PictureX, c.PictureY, seed));
    }
    // The text's colour shows inside the client rectangle and nowhere in the frame.
    int red = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (Backend.WindowPixel(handle, x, y) == 0xFF0000u) {
                EXPECT_TRUE(x >= 5 && x < w - 5 && y >= 5 && y < h - 5) << x << "," << y;
                ++red;
            }
    EXPECT_GT(red, 20);
    hint->HideHint();
}

} // namespace

// Keys are short (each number takes the bytes it needs), yet different values never give the same bytes: not
// where a number's length changes, not for negative numbers, and not where a number meets a text.
TEST(LookKeyTest, DifferentValuesGiveDifferentKeys)
{
    using TBuild = std::function<void(TspLookKey&)>;
    const std::vector<std::pair<TBuild, TBuild>> pairs {
        { [](TspLookKey& k) { k.AddInt(1).AddInt(256); }, [](TspLookKey& k) { k.AddInt(256).AddInt(1); } },
        { [](TspLookKey& k) { k.AddInt(127); }, [](TspLookKey& k) { k.AddInt(128); } },
        { [](TspLookKey& k) { k.AddInt(-1); }, [](TspLookKey& k) { k.AddInt(1); } },
        { [](TspLookKey& k) { k.AddInt(INT64_MIN); }, [](TspLookKey& k) { k.AddInt(INT64_MAX); } },
        { [](TspLookKey& k) { k.AddInt(0x80).AddInt(0); }, [](TspLookKey& k) { k.AddInt(0).AddInt(0x80); } },
        { [](TspLookKey& k) { k.AddText("ab").AddInt(1); },
            [](TspLookKey& k) { k.AddText("a").AddInt(98).AddInt(1); } },
        { [](TspLookKey& k) { k.AddText("").AddText("x"); }, [](TspLookKey& k) { k.AddText("x").AddText(""); } },
    };
    for (const auto& [first, second] : pairs) {
        TspLookKey a, b;
        first(a);
        second(b);
        EXPECT_NE(a.Bytes(), b.Bytes());
    }
    // The same values, the same key.
    TspLookKey a, b;
    a.AddInt(-300).AddText("Open").AddInt(1LL << 40);
    b.AddInt(-300).AddText("Open").AddInt(1LL << 40);
    EXPECT_EQ(a.Bytes(), b.Bytes());
}

// What an item asked for is found again without its key while it shows the same values, and asked anew after a
// change of any of them or from another chain's cache; a look the chain has let go of is not kept alive by the
// item.
TEST(MenuLookCacheTest, AnItemsAnswersServeItOnlyWhileItShowsTheSameValues)
{
    TspMenuLookCache cache;
    TMenuItem item(nullptr);
    item.SetCaption("Open");
    uint64_t level = 1;
    int width = 100;
    int widthRuns = 0;
    int keyRuns = 0;
    std::shared_ptr<TspMenuLookCache::TLooks> looks;
    // Asks as an opening does; the key names each new look apart, so a look asked for anew is a new one.
    auto ask = [&] {
        cache.ItemTextWidth(&item, level, [&] { return ++widthRuns; });
        looks = cache.ItemLooks(&item, level, width, 20, [&] { return "look " + std::to_string(++keyRuns); });
    };
    ask();
    const std::pair<const char*, std::function<void()>> changes[] = {
        { "caption", [&] { item.SetCaption("Save"); } },
        { "shortcut", [&] { item.SetShortCut(ShortCut('S', TShiftState { ssCtrl })); } },
        { "enabled", [&] { item.SetEnabled(false); } },
        { "checked", [&] { item.SetChecked(true); } },
        { "radio item", [&] { item.SetRadioItem(true); } },
        { "default", [&] { item.SetDefault(true); } },
        { "a sub-item", [&] { item.Add(new TMenuItem(nullptr)); } },
        { "name", [&] { item.SetName("SKF_CLOSE"); } },
        { "level look", [&] { level = 2; } },
        { "width (the look only)", [&] { width = 120; } },
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        const int widths = widthRuns;
        const int keys = keyRuns;
        const std::shared_ptr<TspMenuLookCache::TLooks> before = looks;
        ask();
        EXPECT_EQ(widthRuns, widths);
        EXPECT_EQ(keyRuns, keys);
        EXPECT_EQ(looks, before);
        change();
        ask();
        EXPECT_EQ(widthRuns, widths + (width == 100 ? 1 : 0));
        EXPECT_EQ(keyRuns, keys + 1);
        EXPECT_NE(looks, before);
    }
    // Another chain's cache numbers its level looks its own way: it asks for the item's answers anew.
    TspMenuLookCache other;
    const int widths = widthRuns;
    other.ItemTextWidth(&item, level, [&] { return ++widthRuns; });
    EXPECT_EQ(widthRuns, widths + 1);
    ask();
    EXPECT_EQ(widthRuns, widths + 2);
    // Looks of other items push this one out of the chain's table while nothing holds it.
    looks.reset();
    for (size_t i = 0; i <= TspMenuLookCache::MaxLooks; ++i)
        cache.Looks("other " + std::to_string(i));
    const int keys = keyRuns;
    ask();
    EXPECT_EQ(keyRuns, keys + 1);
}
