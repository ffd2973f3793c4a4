// The form skinning component on the headless display: placing picture rectangles on a resized form, fitting a
// picture form to its skin, the hit tests, the non-client size, the window region and mask test, and what real
// mouse input does to the skin objects and the form.
#include "skin/forms/TspSkinForm.h"

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/TTimer.h"
#include "framework/graphics/TBitmap.h"
#include "platform/win/Regions.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinButtonObjects.h"
#include "skin/menus/TspSkinHint.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/framework/ControlsTestSupport.h"

namespace {

using TEvents = std::vector<std::string>;

class TspSkinFormTest : public ControlsTest {
protected:
    // A 100 x 80 picture with frame points 10 px in from every edge.
    void PictureSkin(bool scalable)
    {
        Fixture.SetPicture("picture", "face.bmp", 100, 80, 3);
        Fixture.AddActivePicture("active.bmp", 100, 80, 5);
        Fixture.Set("FORMINFO",
            { { "lefttoppoint", "10,10" }, { "righttoppoint", "90,10" }, { "leftbottompoint", "10,70" },
                { "rightbottompoint", scalable ? "90,70" : "10,10" }, { "clientrect", "10,10,90,70" },
                { "borderwidth", "0" } });
        Fixture.AddObject("play", "button",
            { { "activepictureindex", "0" }, { "skinrect", "20,20,40,30" }, { "activeskinrect", "20,20,40,30" } });
        Fixture.AddObject("title", "caption", { { "skinrect", "20,0,80,10" }, { "textrect", "0,0,60,10" } });
        Fixture.AddArea("Corner", "92,2,98,8");
        Fixture.AddArea("Body", "20,40,60,50");
    }

    // A 100 x 60 frame picture: a 20 px caption band, 5 px borders, a caption and a close button on the band.
    void FrameSkin(int borderWidth)
    {
        Fixture.SetPicture("picture", "frame.bmp", 100, 60, 3);
        Fixture.AddActivePicture("active.bmp", 100, 60, 5);
        Fixture.Set("FORMINFO",
            { { "lefttoppoint", "10,20" }, { "righttoppoint", "90,20" }, { "leftbottompoint", "10,55" },
                { "rightbottompoint", "90,55" }, { "clientrect", "5,20,95,55" }, { "hittestlefttoppoint", "8,8" },
                { "hittestrighttoppoint", "92,8" }, { "hittestleftbottompoint", "8,52" },
                { "hittestrightbottompoint", "92,52" }, { "borderwidth", std::to_string(borderWidth) },
                { "captionrect", "5,2,95,18" } });
        Fixture.AddObject("title", "caption", { { "skinrect", "5,2,70,18" }, { "textrect", "0,0,65,16" } });
        Fixture.AddObject("close", "stdbutton",
            { { "activepictureindex", "0" }, { "skinrect", "80,3,95,18" }, { "activeskinrect", "80,3,95,18" },
                { "skinrectinapicture", "1" }, { "command", "cmclose" } });
    }

    void Load()
    {
        Skin = new TspSkinData(Application);
        Skin->LoadFromFile(Fixture.Write());
        ASSERT_FALSE(Skin->Empty);
    }

    // A shown form skinned by a new component.
    void MakeForm(bool frame, int x, int y, int width, int height)
    {
        Form = NewForm(x, y, width, height, frame ? bsSizeable : bsNone);
        Skinner = new TspSkinForm(Form);
        Skinner->SetSupportNCArea(frame);
        Skinner->OnMouseUpEvent
            = [this](const std::string& id, int, int, const TRect&, TMouseButton) { Events.push_back("up:" + id); };
        Skinner->OnMouseDownEvent
            = [this](const std::string& id, int, int, const TRect&, TMouseButton) { Events.push_back("down:" + id); };
        Skinner->SetSkinData(Skin);
        Form->Show();
        Pump();
    }

    LRESULT HitTest(int x, int y)
    {
        return SendMessage(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(Form->Left() + x, Form->Top() + y));
    }

    TFixtureSkin Fixture;
    TspSkinData* Skin = nullptr;
    TForm* Form = nullptr;
    TspSkinForm* Skinner = nullptr;
    TEvents Events;
};

// ---- Picture mode: scaling and fitting --------------------------------------------------------------------------

TEST_F(TspSkinFormTest, PictureRectanglesFollowTheirCornerZones)
{
    PictureSkin(true);
    Load();
    MakeForm(false, 100, 100, 100, 80);
    Form->SetBounds(100, 100, 150, 110);
    Pump();
    struct TCase {
        TRect Source, Placed;
        const char* What;
    };
    const TCase cases[] = {
        { Rect(92, 2, 98, 8), Rect(142, 2, 148, 8), "top-right zone moves right" },
        { Rect(2, 72, 8, 78), Rect(2, 102, 8, 108), "bottom-left zone moves down" },
        { Rect(92, 72, 98, 78), Rect(142, 102, 148, 108), "bottom-right zone moves both ways" },
        { Rect(2, 2, 95, 75), Rect(2, 2, 145, 105), "top-left to bottom-right grows" },
        { Rect(2, 2, 95, 8), Rect(2, 2, 145, 8), "top-left to top-right widens" },
        { Rect(30, 30, 60, 50), Rect(30, 30, 60, 50), "the middle stays" },
        { Rect(92, 2, 100, 8), Rect(92, 2, 100, 8), "a right edge on the picture's edge is in no zone" },
    };
    for (const TCase& c : cases) {
        const TRect placed = Skinner->CalcRealObjectRect(c.Source);
        EXPECT_TRUE(placed.Left == c.Placed.Left && placed.Top == c.Placed.Top && placed.Right == c.Placed.Right
            && placed.Bottom == c.Placed.Bottom)
            << c.What << ": " << placed.Left << "," << placed.Top << "," << placed.Right << "," << placed.Bottom;
    }
}

TEST_F(TspSkinFormTest, AFixedPictureFormKeepsThePictureSizeAndCannotBeSized)
{
    PictureSkin(false);
    Load();
    MakeForm(false, 100, 100, 300, 200);
    EXPECT_FALSE(Skinner->CanScale());
    EXPECT_EQ(Form->ClientWidth(), 100);
    EXPECT_EQ(Form->ClientHeight(), 80);
    EXPECT_FALSE(Skinner->Sizeable);
    // Linked controls sit exactly on their areas.
    auto* box = new TBox(Form);
    box->SetParent(Form);
    Skinner->OnChangeSkinData = [&](TObject*) { Skinner->LinkControlToArea("Body", box); };
    Skinner->ChangeSkinData();
    EXPECT_EQ(box->BoundsRect().Left, 20);
    EXPECT_EQ(box->BoundsRect().Bottom, 50);
    EXPECT_EQ(Skinner->AreaLinks.size(), 1u) << "links do not pile up over skin changes";
    Skinner->ChangeSkinData();
    EXPECT_EQ(Skinner->AreaLinks.size(), 1u);
}

TEST_F(TspSkinFormTest, AScalablePictureFormGrowsToThePictureButNeverShrinks)
{
    PictureSkin(true);
    Load();
    struct TCase {
        int Width, Height, MinWidth, MinHeight, ClientWidth, ClientHeight;
    };
    const TCase cases[] = {
        { 60, 50, 0, 0, 100, 80 }, // grows
        { 300, 200, 0, 0, 300, 200 }, // never shrinks
        { 60, 50, 70, 0, 100, 80 }, // one limit alone still grows
        { 60, 50, 70, 60, 60, 50 }, // both limits keep the size
    };
    for (const TCase& c : cases) {
        Form = NewForm(100, 100, c.Width, c.Height);
        Skinner = new TspSkinForm(Form);
        Skinner->SetSupportNCArea(false);
        Skinner->MinWidth = c.MinWidth;
        Skinner->MinHeight = c.MinHeight;
        Skinner->SetSkinData(Skin);
        EXPECT_EQ(Form->ClientWidth(), c.ClientWidth) << c.Width << " min " << c.MinWidth << "," << c.MinHeight;
        EXPECT_EQ(Form->ClientHeight(), c.ClientHeight);
        EXPECT_TRUE(Skinner->Sizeable);
        delete Form;
    }
}

// ---- Frame mode: non-client size and hit tests ------------------------------------------------------------------

TEST_F(TspSkinFormTest, TheClientAreaLiesInsideTheSkinnedOrDefaultFrame)
{
    struct TCase {
        bool Skinned;
        TFormBorderStyle Border;
        RECT Client;
    };
    FrameSkin(3);
    Load();
    const TCase cases[] = {
        { false, bsSizeable, RECT { 103, 122, 297, 297 } },
        { false, bsToolWindow, RECT { 103, 118, 297, 297 } },
        { true, bsSizeable, RECT { 105, 120, 295, 295 } },
    };
    for (const TCase& c : cases) {
        MakeForm(true, 100, 100, 200, 200);
        Form->SetBorderStyle(c.Border);
        if (!c.Skinned)
            Skinner->SetSkinData(nullptr);
        RECT r { 100, 100, 300, 300 };
        SendMessage(Form->Handle(), WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
        EXPECT_EQ(r.left, c.Client.left) << c.Skinned << c.Border;
        EXPECT_EQ(r.top, c.Client.top) << c.Skinned << c.Border;
        EXPECT_EQ(r.right, c.Client.right) << c.Skinned << c.Border;
        EXPECT_EQ(r.bottom, c.Client.bottom) << c.Skinned << c.Border;
        // A window smaller than its frame gets an empty client, never an inverted one.
        RECT tiny { 100, 100, 104, 104 };
        SendMessage(Form->Handle(), WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&tiny));
        EXPECT_EQ(tiny.right, tiny.left);
        EXPECT_EQ(tiny.bottom, tiny.top);
        delete Form;
    }
}

TEST_F(TspSkinFormTest, SkinnedFrameHitTests)
{
    FrameSkin(3);
    Load();
    MakeForm(true, 100, 100, 200, 160);
    struct TCase {
        int X, Y;
        LRESULT Code;
    };
    // The corners come before the edges; objects other than the caption answer HTOBJECT.
    const TCase cases[] = { { 1, 1, HTTOPLEFT }, { 198, 1, HTTOPRIGHT }, { 1, 158, HTBOTTOMLEFT },
        { 198, 158, HTBOTTOMRIGHT }, { 50, 1, HTTOP }, { 50, 158, HTBOTTOM }, { 1, 80, HTLEFT }, { 198, 80, HTRIGHT },
        { 30, 10, HTCAPTION }, { 100, 80, HTCLIENT }, { 185, 10, HTOBJECT } };
    for (const TCase& c : cases)
        EXPECT_EQ(HitTest(c.X, c.Y), c.Code) << c.X << "," << c.Y;
}

TEST_F(TspSkinFormTest, ABorderWidthOfZeroWithoutMaskGivesNoSizingBorder)
{
    FrameSkin(0);
    Load();
    MakeForm(true, 100, 100, 200, 160);
    for (const auto& [x, y] : { std::pair { 0, 0 }, { 199, 159 }, { 0, 80 }, { 100, 0 } }) {
        const LRESULT code = HitTest(x, y);
        EXPECT_FALSE(code >= HTLEFT && code <= HTBOTTOMRIGHT) << x << "," << y << " gave " << code;
    }
}

TEST_F(TspSkinFormTest, DefaultFrameHitTestsUseTwoPixelCorners)
{
    FrameSkin(3);
    Load();
    MakeForm(true, 100, 100, 200, 160);
    Skinner->SetSkinData(nullptr);
    struct TCase {
        int X, Y;
        LRESULT Code;
    };
    const TCase cases[] = { { 2, 2, HTTOPLEFT }, { 198, 2, HTTOPRIGHT }, { 2, 158, HTBOTTOMLEFT },
        { 198, 158, HTBOTTOMRIGHT }, { 2, 80, HTLEFT }, { 80, 2, HTTOP }, { 50, 10, HTCAPTION }, { 50, 80, HTCLIENT } };
    for (const TCase& c : cases)
        EXPECT_EQ(HitTest(c.X, c.Y), c.Code) << c.X << "," << c.Y;
}

TEST_F(TspSkinFormTest, TheFrameAndClientBackgroundComeFromThePictureAndFollowTheSize)
{
    FrameSkin(3);
    Load();
    MakeForm(true, 100, 100, 200, 160);
    auto picture = [](int x, int y) {
        const uint32_t c = TFixtureSkin::PixelOf(x, y, 3);
        return c;
    };
    auto at = [this](int x, int y) { return Backend.WindowPixel(Form->Handle(), x, y) & 0xFFFFFF; };
    // Corners at their size, the client background tiled from the picture's client part.
    EXPECT_EQ(at(2, 2), picture(2, 2));
    EXPECT_EQ(at(197, 2), picture(97, 2));
    EXPECT_EQ(at(5, 20), picture(5, 20));
    EXPECT_EQ(at(5 + 90 + 1, 20 + 1), picture(6, 21)) << "the tile repeats";
    Form->SetBounds(100, 100, 260, 180);
    Pump();
    EXPECT_EQ(at(257, 2), picture(97, 2)) << "the frame is composed anew for the new size";
    EXPECT_EQ(at(2, 177), picture(2, 57));
}

TEST_F(TspSkinFormTest, AMorphStepRepaintsOnlyItsObject)
{
    FrameSkin(3);
    Fixture.AddObject("glow", "button",
        { { "activepictureindex", "0" }, { "skinrect", "50,3,70,18" }, { "activeskinrect", "50,3,70,18" },
            { "morphing", "1" } });
    Load();
    MakeForm(true, 100, 100, 200, 160);
    TspActiveSkinObject* glow = nullptr;
    for (int i = 0; i < Skinner->ObjectCount(); ++i)
        if (Skinner->ObjectAt(i)->IDName == "glow")
            glow = Skinner->ObjectAt(i);
    ASSERT_NE(glow, nullptr);
    const TRect r = glow->ObjectRect;
    const POINT middle { (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 };
    const uint32_t before = Backend.WindowPixel(Form->Handle(), middle.x, middle.y);
    const int presents = Backend.Native(Form->Handle())->Presents;
    Backend.Log().Clear();

    glow->Active = true;
    glow->SetMorphKf(0.4);
    glow->DoMorphing();
    Pump();

    EXPECT_NE(Backend.WindowPixel(Form->Handle(), middle.x, middle.y), before) << "the step shows";
    EXPECT_TRUE(Backend.Log().Only({ WM_NCPAINT, WM_PAINT, WM_ERASEBKGND }, Form->Handle()).empty())
        << "nothing else of the form is painted again";
    const auto* native = Backend.Native(Form->Handle());
    EXPECT_EQ(native->Presents, presents + 1);
    EXPECT_EQ(native->LastPresent.left, r.Left);
    EXPECT_EQ(native->LastPresent.top, r.Top);
    EXPECT_EQ(native->LastPresent.right, r.Right);
    EXPECT_EQ(native->LastPresent.bottom, r.Bottom);
}

TEST_F(TspSkinFormTest, ABackgroundPictureThatIsNotThereGivesThePlainFace)
{
    FrameSkin(3);
    Fixture.Set("FORMINFO", "bgpictureindex", "7");
    Load();
    MakeForm(true, 100, 100, 200, 160);
    const uint32_t face = static_cast<uint32_t>(ColorToRGB(clBtnFace));
    const uint32_t rgb = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
    EXPECT_EQ(Backend.WindowPixel(Form->Handle(), 50, 50) & 0xFFFFFF, rgb);
}

// ---- Regions and the mask ---------------------------------------------------------------------------------------

TEST_F(TspSkinFormTest, WithoutMaskTheRegionIsTheFormRectangle)
{
    PictureSkin(true);
    Load();
    MakeForm(false, 100, 100, 120, 90);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(Form->Handle(), region), ERROR);
    RECT box {};
    GetRgnBox(region, &box);
    EXPECT_EQ(box.right - box.left, Form->Width());
    EXPECT_EQ(box.bottom - box.top, Form->Height());
    DeleteObject(region);
}

TEST_F(TspSkinFormTest, AMaskCutsTheWindowAndPointsOffItsStripsAreOutside)
{
    PictureSkin(true);
    // A mask whose top-left 10 x 10 corner is white (cut away) and the rest black.
    const std::string mask = Fixture.Path("mask.bmp");
    {
        TBitmap bitmap;
        bitmap.SetSize(100, 80);
        bitmap.Canvas()->Brush()->SetColor(clBlack);
        bitmap.Canvas()->FillRect(Rect(0, 0, 100, 80));
        bitmap.Canvas()->Brush()->SetColor(clWhite);
        bitmap.Canvas()->FillRect(Rect(0, 0, 10, 10));
        bitmap.SaveToFile(mask);
    }
    Fixture.Set("PICTURES", "mask", "mask.bmp");
    Fixture.Set("FORMINFO", "maskrectarea", "10,10,90,70");
    Load();
    MakeForm(false, 100, 100, 150, 110);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(Form->Handle(), region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 3, 3)) << "the cut corner";
    EXPECT_TRUE(PtInRegion(region, 12, 3));
    EXPECT_TRUE(PtInRegion(region, 145, 105)) << "the grown bottom-right corner";
    EXPECT_TRUE(PtInRegion(region, 75, 55)) << "the mask's middle";
    DeleteObject(region);
    struct TCase {
        int X, Y;
        bool In;
    };
    for (const TCase& c : { TCase { 3, 3, false }, TCase { 12, 3, true }, TCase { 50, 50, true },
             TCase { -4, 30, false }, TCase { 30, -4, false }, TCase { 400, 30, false }, TCase { 30, 400, false } })
        EXPECT_EQ(Skinner->PtInMask(TPoint { c.X, c.Y }), c.In) << c.X << "," << c.Y;
}

// ---- Real input -------------------------------------------------------------------------------------------------

TEST_F(TspSkinFormTest, AnObjectClickNeedsTheReleaseOverIt)
{
    PictureSkin(true);
    Load();
    MakeForm(false, 100, 100, 100, 80);
    Click(130, 125);
    EXPECT_EQ(Events, (TEvents { "down:play", "up:play" }));
    Events.clear();
    Backend.AdvanceClock(1000);
    Backend.MouseMove(130, 125);
    Backend.MouseDown();
    Pump();
    // Hover follows the form's 50 ms mouse timer.
    Backend.MouseMove(170, 170);
    Pump();
    Backend.AdvanceClock(60);
    Pump();
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(Events, (TEvents { "down:play" }));
    Events.clear();
    Skinner->SetEnabled("play", false);
    Click(130, 125);
    EXPECT_TRUE(Events.empty()) << "a disabled object is never hit";
    Skinner->SetEnabled("nothing", false);
}

TEST_F(TspSkinFormTest, APictureFormDragsByItsFaceOnlyWhenDraggAble)
{
    PictureSkin(true);
    Load();
    MakeForm(false, 100, 100, 100, 80);
    auto drag = [this] {
        Backend.AdvanceClock(1000);
        Backend.MouseMove(150, 165);
        Backend.MouseDown();
        Pump();
        Backend.MouseMove(170, 175);
        Pump();
        Backend.MouseUp();
        Pump();
    };
    drag();
    EXPECT_EQ(Form->Left(), 100);
    Skinner->DraggAble = true;
    drag();
    EXPECT_EQ(Form->Left(), 120);
    EXPECT_EQ(Form->Top(), 110);
}

TEST_F(TspSkinFormTest, ACaptionPressThatMovesTheFormReachesNoObject)
{
    FrameSkin(3);
    Load();
    MakeForm(true, 100, 100, 200, 160);
    Backend.AdvanceClock(1000);
    Backend.MouseMove(130, 110);
    Backend.MouseDown();
    Backend.MouseMove(160, 130);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(Form->Left(), 130);
    EXPECT_EQ(Form->Top(), 120);
    EXPECT_TRUE(Events.empty());
    EXPECT_EQ(Skinner->PressedObjectIndex, -1);
}

TEST_F(TspSkinFormTest, TheCloseButtonClosesOnlyWhenReleasedOverIt)
{
    FrameSkin(3);
    Load();
    MakeForm(true, 100, 100, 200, 160);
    bool closed = false;
    Form->OnClose = [&](TObject*, TCloseAction& action) {
        closed = true;
        action = caHide;
    };
    // The close button sits at the right end of the caption band.
    const TRect button = Skinner->ObjectAt(Skinner->GetIndex("close"))->ObjectRect;
    const int x = 100 + button.Left + 3;
    const int y = 100 + button.Top + 3;
    Backend.AdvanceClock(1000);
    Backend.MouseMove(x, y);
    Pump();
    Backend.MouseDown();
    Pump();
    Backend.MouseMove(x - 60, y + 60);
    Pump();
    Backend.AdvanceClock(60);
    Pump();
    Backend.MouseUp();
    Pump();
    EXPECT_FALSE(closed);
    Click(x, y);
    EXPECT_TRUE(closed);
}

TEST_F(TspSkinFormTest, ObjectHintsShowOverTheirObjectOnlyWhenAskedAndGoWithTheMouseOrAPress)
{
    // Hint components work for the application's main form.
    TForm* mainForm = nullptr;
    Application->CreateForm(mainForm);
    auto* hint = new TspSkinHint(mainForm);
    FrameSkin(3);
    Load();
    MakeForm(true, 100, 100, 200, 160);
    Skinner->SetSkinHint(hint);
    const TRect button = Skinner->ObjectAt(Skinner->GetIndex("close"))->ObjectRect;
    const int x = 100 + button.Left + 3;
    const int y = 100 + button.Top + 3;
    // Over the close button for longer than the hint pause, then off it again.
    auto hover = [&] {
        Backend.AdvanceClock(1000);
        Backend.MouseMove(x, y);
        Pump();
        Backend.AdvanceClock(60);
        Pump();
        Backend.AdvanceClock(Application->HintPause() + 20);
        Pump();
    };
    hover();
    EXPECT_FALSE(hint->IsVisible()) << "object hints are off by default";

    Backend.MouseMove(x - 60, y + 60);
    Pump();
    Backend.AdvanceClock(60);
    Pump();
    Skinner->ShowObjectHint = true;
    hover();
    ASSERT_TRUE(hint->IsVisible());
    Backend.MouseMove(x - 60, y + 60);
    Pump();
    Backend.AdvanceClock(60);
    Pump();
    EXPECT_FALSE(hint->IsVisible()) << "leaving the object hides its hint";

    hover();
    ASSERT_TRUE(hint->IsVisible());
    // A press on the form is one of the messages that close menus and hints.
    SendMessage(Form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessage(Form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_FALSE(hint->IsVisible());

    // The hint component deleted first is forgotten.
    delete hint;
    hover();
    EXPECT_EQ(Skinner->SkinHint(), nullptr);
}

// ---- The program's own skins ------------------------------------------------------------------------------------

TEST_F(TspSkinFormTest, TheMainSkinGivesThePictureFormItsButtonsAndAreas)
{
    Skin = new TspSkinData(Application);
    Skin->LoadFromFile(std::string(TP_SKIN_DIR) + "/MainSkin.ini");
    ASSERT_FALSE(Skin->Empty);
    Form = NewForm(20, 20, 100, 100);
    Skinner = new TspSkinForm(Form);
    Skinner->SetSupportNCArea(false);
    std::vector<TBox*> boxes;
    Skinner->OnChangeSkinData = [&](TObject*) {
        for (const char* area : { "OutputFolder", "PreviewArea", "HintMessageArea", "ConvertInfoArea" }) {
            auto* box = new TBox(Form);
            box->SetParent(Form);
            boxes.push_back(box);
            Skinner->LinkControlToArea(area, box);
        }
    };
    Skinner->OnMouseUpEvent
        = [this](const std::string& id, int, int, const TRect&, TMouseButton) { Events.push_back("up:" + id); };
    Skinner->SetSkinData(Skin);
    Form->Show();
    Pump();
    EXPECT_EQ(Skinner->ObjectCount(), 24) << "every object record but the menu item's";
    EXPECT_EQ(Form->ClientWidth(), Skin->Picture->Width());
    ASSERT_EQ(Skinner->AreaLinks.size(), 4u);
    EXPECT_EQ(boxes[1]->BoundsRect().Left, 541);
    EXPECT_EQ(boxes[1]->BoundsRect().Top, 96);
    // The Go button (541, 456) - (683, 508) on the face.
    Click(20 + 600, 20 + 480);
    EXPECT_EQ(Events, (TEvents { "up:Go" }));
    Skinner->SetEnabled("Go", false);
    Click(20 + 600, 20 + 480);
    EXPECT_EQ(Events.size(), 1u);
}

TEST_F(TspSkinFormTest, TheDialogSkinFramesAFormAroundItsClientArea)
{
    Skin = new TspSkinData(Application);
    Skin->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
    ASSERT_FALSE(Skin->Empty);
    MakeForm(true, 50, 50, 400, 300);
    // The skin's client rectangle (4, 32) - (296, 216) in a 300 x 220 picture.
    EXPECT_EQ(Form->ClientWidth(), 400 - 4 - 4);
    EXPECT_EQ(Form->ClientHeight(), 300 - 32 - 4);
    EXPECT_EQ(HitTest(200, 150), HTCLIENT);
    struct TCase {
        int X, Y;
        LRESULT Code;
    };
    for (const TCase& c : { TCase { 1, 1, HTTOPLEFT }, TCase { 398, 2, HTTOPRIGHT }, TCase { 2, 298, HTBOTTOMLEFT },
             TCase { 398, 298, HTBOTTOMRIGHT }, TCase { 200, 1, HTTOP }, TCase { 200, 298, HTBOTTOM },
             TCase { 1, 150, HTLEFT }, TCase { 399, 150, HTRIGHT } })
        EXPECT_EQ(HitTest(c.X, c.Y), c.Code) << c.X << "," << c.Y;
    // The close button is laid out at the right end of the buttons band.
    const TRect close = Skinner->ObjectAt(Skinner->GetIndex("closebutton"))->ObjectRect;
    EXPECT_EQ(close.Right, 400 - 1);
    EXPECT_EQ(HitTest(close.Left + 8, close.Top + 8), HTOBJECT);
}

} // namespace

namespace {

// A skinned form deleted without ever having had a window hears its children leave while half deleted; that
// must reach the form's own procedure and nothing of the skin (the sanitizer build checks the calls).
TEST(TspSkinFormDeletion, AFormThatNeverHadAWindowIsDeletedWithItsChildren)
{
    THeadlessBackend backend;
    backend.UseManualClock(1000);
    ASSERT_TRUE(backend.Install());
    InitializeForms();
    auto* form = TCustomForm::Create<TForm>(Application);
    auto* skinner = new TspSkinForm(form);
    auto* child = new TPanel(form);
    child->SetParent(form);
    EXPECT_FALSE(form->HandleAllocated());
    EXPECT_EQ(skinner->Owner(), form);
    delete form;
    FinalizeForms();
    backend.Uninstall();
}

} // namespace
