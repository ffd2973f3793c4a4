// A skinned frame-mode form of 800x600 with 20 skin objects on its frame: a full repaint (frame and client
// background), and one hover morph frame of one object, each against a BitBlt of the same area.
#include "bench/BenchTiming.h"
#include "framework/controls/Forms.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/gdi/Raster.h"
#include "platform/win/Windows.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinObjects.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/testing/TFixtureSkin.h"

#include <string>

namespace {

double PerCall(int count, const std::function<void()>& run)
{
    return BestOf([&] {
        for (int i = 0; i < count; ++i)
            run();
    }) / count;
}

// A 200x100 frame picture with a 30-pixel caption band holding 20 morphing buttons of 8x20.
void WriteSkin(TFixtureSkin& fixture)
{
    fixture.SetPicture("picture", "frame.bmp", 200, 100, 3);
    fixture.AddActivePicture("active.bmp", 200, 100, 5);
    fixture.Set("FORMINFO",
        { { "lefttoppoint", "10,30" }, { "righttoppoint", "190,30" }, { "leftbottompoint", "10,95" },
            { "rightbottompoint", "190,95" }, { "clientrect", "5,30,195,95" }, { "stretcheffect", "1" },
            { "stretchtype", "stfull" }, { "leftstretch", "1" }, { "rightstretch", "1" }, { "topstretch", "1" },
            { "bottomstretch", "1" }, { "captionrect", "5,2,195,28" } });
    for (int i = 0; i < 20; ++i) {
        const std::string rect = std::to_string(i * 9) + ",4," + std::to_string(i * 9 + 8) + ",24";
        fixture.AddObject("button" + std::to_string(i), "button",
            { { "activepictureindex", "0" }, { "skinrect", rect }, { "activeskinrect", rect }, { "morphing", "1" } });
    }
}

} // namespace

int main()
{
    THeadlessBackend backend;
    backend.UseManualClock(1000);
    if (!backend.Install())
        return 1;
    InitializeForms();
    {
        TFixtureSkin fixture;
        WriteSkin(fixture);
        auto* skin = new TspSkinData(Application);
        skin->LoadFromFile(fixture.Write());
        auto* form = TCustomForm::Create<TForm>(Application);
        form->SetBorderStyle(bsSizeable);
        form->SetBounds(0, 0, 800, 600);
        auto* skinner = new TspSkinForm(form);
        skinner->SetSkinData(skin);
        form->Show();
        Application->ProcessMessages();
        const HWND window = form->Handle();

        TBitmap area, copy;
        area.SetSize(800, 600);
        copy.SetSize(800, 600);
        const double blit = PerCall(
            20, [&] { BitBlt(copy.Canvas()->Handle(), 0, 0, 800, 600, area.Canvas()->Handle(), 0, 0, SRCCOPY); });
        const double full = PerCall(20,
            [&] { RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); });
        Report("frame_form_800x600_20_objects_full_repaint", full, blit);

        // One morph step draws only its object: the peer copies just that object's area.
        TspActiveSkinObject* object = skinner->ObjectAt(0);
        object->Active = true;
        const TRect r = object->ObjectRect;
        const int w = r.Right - r.Left;
        const int h = r.Bottom - r.Top;
        const double morph = PerCall(200, [&] {
            object->SetMorphKf(0.4);
            object->DoMorphing();
        });
        const double objectBlit = PerCall(
            200, [&] { BitBlt(copy.Canvas()->Handle(), r.Left, r.Top, w, h, area.Canvas()->Handle(), 0, 0, SRCCOPY); });
        Report("frame_form_one_object_morph_frame", morph, objectBlit);
    }
    FinalizeForms();
    backend.Uninstall();
    return 0;
}
