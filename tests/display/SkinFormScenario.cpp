// The skinned forms the display test plays on both backends.
#include "tests/display/SkinFormScenario.h"

#include "framework/controls/Forms.h"
#include "framework/graphics/TBitmap.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinButtonObjects.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/testing/TFixtureSkin.h"

#include <cstdlib>

namespace {

constexpr RECT kArea { 100, 100, 700, 400 };
constexpr int kPictureLeft = 150;
constexpr int kPictureTop = 150;

// A 160 x 120 face whose mask cuts away its top-left 40 x 40 corner, with one button.
void WriteFaceSkin(TFixtureSkin& face)
{
    face.SetPicture("picture", "face.bmp", 160, 120, 3);
    face.AddActivePicture("active.bmp", 160, 120, 5);
    TBitmap mask;
    mask.SetSize(160, 120);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 0, 160, 120));
    mask.Canvas()->Brush()->SetColor(clWhite);
    mask.Canvas()->FillRect(Rect(0, 0, 40, 40));
    mask.SaveToFile(face.Path("mask.bmp"));
    face.Set("PICTURES", "mask", "mask.bmp");
    face.Set("FORMINFO", { { "maskrectarea", "40,40,120,80" }, { "borderwidth", "0" } });
    face.AddObject("play", "button",
        { { "activepictureindex", "0" }, { "skinrect", "100,80,140,100" }, { "activeskinrect", "100,80,140,100" } });
}

} // namespace

void WriteFrameSkin(TFixtureSkin& frame)
{
    frame.SetPicture("picture", "frame.bmp", 100, 60, 7);
    frame.AddActivePicture("buttons.bmp", 100, 60, 9);
    frame.Set("FORMINFO",
        { { "lefttoppoint", "10,20" }, { "righttoppoint", "90,20" }, { "leftbottompoint", "10,55" },
            { "rightbottompoint", "90,55" }, { "clientrect", "5,20,95,55" }, { "hittestlefttoppoint", "8,8" },
            { "hittestrighttoppoint", "92,8" }, { "hittestleftbottompoint", "8,52" },
            { "hittestrightbottompoint", "92,52" }, { "borderwidth", "3" }, { "captionrect", "5,4,95,18" },
            { "leftstretch", "1" }, { "rightstretch", "1" }, { "topstretch", "1" }, { "bottomstretch", "1" } });
    frame.AddObject("title", "caption", { { "skinrect", "5,4,60,18" }, { "textrect", "0,0,55,14" } });
    for (const auto& [name, command] :
        { std::pair { "closebutton", "cmclose" }, { "maxbutton", "cmmaximize" }, { "minbutton", "cmminimize" } })
        frame.AddObject(name, "stdbutton",
            { { "activepictureindex", "0" }, { "skinrect", "0,0,12,12" }, { "activeskinrect", "12,0,24,12" },
                { "skinrectinapicture", "1" }, { "command", command } });
}

namespace {

std::string BoundsText(const char* name, TControl* control)
{
    return std::string(name) + " at " + std::to_string(control->Left()) + "," + std::to_string(control->Top()) + " "
        + std::to_string(control->Width()) + "x" + std::to_string(control->Height());
}

// Presses at (x, y), moves by (dx, dy) and releases.
void Drag(TWindowStage& stage, int x, int y, int dx, int dy)
{
    stage.MoveTo(x, y);
    stage.ButtonDown();
    stage.MoveTo(x + dx, y + dy, {});
    stage.ButtonUp();
    stage.Pump();
}

// The screen point at the centre of the frame's caption button for `command`.
POINT CaptionButtonPoint(TCustomForm* form, TspSkinForm* skinner, TStdCommand command)
{
    for (int i = 0; i < skinner->ObjectCount(); ++i)
        if (auto* button = dynamic_cast<TspSkinStdButtonObject*>(skinner->ObjectAt(i));
            button && button->Command == command) {
            const TRect& r = button->ObjectRect;
            return POINT { form->Left() + (r.Left + r.Right) / 2, form->Top() + (r.Top + r.Bottom) / 2 };
        }
    return POINT { -1, -1 };
}

void Click(TWindowStage& stage, POINT at)
{
    stage.MoveTo(at.x, at.y);
    stage.ButtonDown();
    stage.ButtonUp();
    stage.Pump();
}

} // namespace

TSkinFormScreens PlaySkinnedForms(TWindowStage& stage)
{
    TSkinFormScreens result;
    InitializeForms();
    {
        TFixtureSkin faceSkin;
        TFixtureSkin frameSkin;
        WriteFaceSkin(faceSkin);
        WriteFrameSkin(frameSkin);
        auto* face = new TspSkinData(Application);
        face->LoadFromFile(faceSkin.Write());
        auto* frame = new TspSkinData(Application);
        frame->LoadFromFile(frameSkin.Write());

        auto* below = TCustomForm::Create<TForm>(Application);
        below->SetBorderStyle(bsNone);
        below->SetBounds(100, 100, 200, 200);
        below->SetColor(clGreen);
        below->OnMouseDown = [&result](TObject*, TMouseButton, TShiftState, int x, int y) {
            result.Facts.push_back("below pressed at " + std::to_string(x) + "," + std::to_string(y));
        };
        below->Show();

        auto* picture = TCustomForm::Create<TForm>(Application);
        picture->SetBorderStyle(bsNone);
        picture->SetBounds(kPictureLeft, kPictureTop, 160, 120);
        auto* pictureSkinner = new TspSkinForm(picture);
        pictureSkinner->SetSupportNCArea(false);
        pictureSkinner->DraggAble = true;
        pictureSkinner->OnMouseUpEvent = [&result](const std::string& id, int, int, const TRect&, TMouseButton) {
            result.Facts.push_back("clicked " + id);
        };
        pictureSkinner->SetSkinData(face);
        picture->Show();

        auto* dialog = TCustomForm::Create<TForm>(Application);
        dialog->SetBorderStyle(bsSizeable);
        dialog->SetCaption("Dialog");
        dialog->SetBounds(450, 150, 200, 160);
        auto* dialogSkinner = new TspSkinForm(dialog);
        dialogSkinner->SetSkinData(frame);
        dialog->Show();

        stage.Settle(kArea);
        result.Screens.push_back(stage.Grab(kArea));
        // Chosen points: the cut corner shows the form below, the face its picture.
        const TStagePixels& shown = result.Screens.back();
        result.Facts.push_back(
            std::string("corner: ") + (shown.At(kPictureLeft + 5, kPictureTop + 5) == 0x008000 ? "below" : "other"));
        result.Facts.push_back(std::string("face: ")
            + (shown.At(kPictureLeft + 80, kPictureTop + 60) == TFixtureSkin::PixelOf(80, 60, 3) ? "picture"
                                                                                                 : "other"));

        // The button takes its click, the face drags the form, and the cut corner lets a click through to the
        // form below (which comes to the front then).
        stage.MoveTo(kPictureLeft + 120, kPictureTop + 90);
        stage.ButtonDown();
        stage.ButtonUp();
        Drag(stage, kPictureLeft + 60, kPictureTop + 110, 30, 20);
        result.Facts.push_back(BoundsText("picture", picture));
        stage.MoveTo(kPictureLeft + 30 + 10, kPictureTop + 20 + 10);
        stage.ButtonDown();
        stage.ButtonUp();

        stage.Settle(kArea);
        result.Screens.push_back(stage.Grab(kArea));
        stage.MoveTo(TWindowStage::kRestingPoint.x, TWindowStage::kRestingPoint.y, {});
        stage.Pump();
    }
    FinalizeForms();
    return result;
}

std::vector<std::string> PlayFrameFormSizing(TWindowStage& stage)
{
    std::vector<std::string> facts;
    InitializeForms();
    {
        TFixtureSkin frameSkin;
        WriteFrameSkin(frameSkin);
        auto* frame = new TspSkinData(Application);
        frame->LoadFromFile(frameSkin.Write());
        // The main form stands aside: minimizing the main form would minimize the whole application instead.
        auto* main = TCustomForm::Create<TForm>(Application);
        main->SetBorderStyle(bsNone);
        main->SetBounds(100, 100, 50, 50);
        main->Show();
        auto* dialog = TCustomForm::Create<TForm>(Application);
        dialog->SetBorderStyle(bsSizeable);
        dialog->SetCaption("Dialog");
        dialog->SetBounds(300, 200, 200, 160);
        auto* skinner = new TspSkinForm(dialog);
        skinner->SetSkinData(frame);
        dialog->Show();
        stage.Settle(kArea);

        // Each edge and corner, pressed one pixel inside the frame and dragged outwards by 10 (and 10).
        const struct {
            const char* name;
            double fx, fy;
            int dx, dy;
        } kGrips[] = { { "left", 0, 0.5, -10, 0 }, { "right", 1, 0.5, 10, 0 }, { "top", 0.5, 0, 0, -10 },
            { "bottom", 0.5, 1, 0, 10 }, { "top-left", 0, 0, -10, -10 }, { "top-right", 1, 0, 10, -10 },
            { "bottom-left", 0, 1, -10, 10 }, { "bottom-right", 1, 1, 10, 10 } };
        for (const auto& grip : kGrips) {
            const int x = dialog->Left() + 1 + int(grip.fx * (dialog->Width() - 3));
            const int y = dialog->Top() + 1 + int(grip.fy * (dialog->Height() - 3));
            // A short pause as a hand makes between two drags. Pressed at once, the press of a drag can reach the
            // SDL backend before the X server has moved the window by the drag before it, and it lands beside the
            // frame (seen with the bottom-left corner after the top-right one).
            stage.Pump(std::chrono::milliseconds(300));
            stage.DragBy(x, y, grip.dx, grip.dy);
            stage.Settle(kArea);
            facts.push_back(BoundsText(grip.name, dialog));
        }

        // The caption buttons: maximize and back, minimize and back, and close.
        auto state = [&](const char* name) {
            const char* names[] = { "normal", "minimized", "maximized" };
            // Maximized, the form leaves a pixel free around a screen-sized work area; a window manager may give
            // it the whole area instead.
            std::string where = BoundsText(name, dialog);
            if (skinner->WindowState() == wsMaximized) {
                RECT work {};
                SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
                const TRect r = dialog->BoundsRect();
                if (std::abs(r.Left - work.left) <= 1 && std::abs(r.Top - work.top) <= 1
                    && std::abs(r.Right - work.right) <= 1 && std::abs(r.Bottom - work.bottom) <= 1)
                    where = std::string(name) + " over the work area";
            }
            facts.push_back(where + " " + names[skinner->WindowState()]);
            stage.Settle(kArea);
        };
        Click(stage, CaptionButtonPoint(dialog, skinner, cmMaximize));
        state("maximize");
        Click(stage, CaptionButtonPoint(dialog, skinner, cmMaximize));
        state("restore");
        Click(stage, CaptionButtonPoint(dialog, skinner, cmMinimize));
        state("minimize");
        Click(stage, CaptionButtonPoint(dialog, skinner, cmMinimize));
        state("restore");
        Click(stage, CaptionButtonPoint(dialog, skinner, cmClose));
        facts.push_back(std::string("closed: ") + (dialog->Visible() ? "no" : "yes"));
        stage.MoveTo(TWindowStage::kRestingPoint.x, TWindowStage::kRestingPoint.y, {});
        stage.Pump();
    }
    FinalizeForms();
    return facts;
}
