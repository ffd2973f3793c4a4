// Repainting a form of skinned buttons on the headless display, and one frame of a button's hover morph, against
// BitBlt of the same areas.
#include "bench/BenchTiming.h"
#include "framework/controls/Forms.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/gdi/Raster.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinButtons.h"
#include "skin/core/TspSkinData.h"
#include "skin/testing/TFixtureSkin.h"

#include <functional>
#include <string>
#include <vector>

namespace {

// Milliseconds per call of `run`, best of several rounds of `count` calls.
double PerCall(int count, const std::function<void()>& run)
{
    return BestOf([&] {
        for (int i = 0; i < count; ++i)
            run();
    }) / count;
}

// A push button whose morph can be put half way, as a timer tick leaves it.
class TMorphingButton : public TspSkinButton {
public:
    using TspSkinButton::TspSkinButton;
    void PaintMorphFrame(double factor)
    {
        FMorphKf = factor;
        Repaint();
    }
};

// The peer: a BitBlt of every area between two memory DCs of the form's size.
double BlitAreas(const std::vector<TRect>& areas, int width, int height)
{
    TBitmap source, target;
    source.SetSize(width, height);
    target.SetSize(width, height);
    return PerCall(20, [&] {
        for (const TRect& r : areas)
            BitBlt(target.Canvas()->Handle(), r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top,
                source.Canvas()->Handle(), r.Left, r.Top, SRCCOPY);
    });
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
        fixture.AddActivePicture("buttons.bmp", 270, 25, 3);
        // Nine-part pictures of 90 x 25 with 4-pixel borders, stretched as the program's skin has them: normal,
        // hot, pressed.
        fixture.AddControl("button", "button",
            { { "pictureindex", "0" }, { "skinrect", "0,0,90,25" }, { "lefttoppoint", "4,4" },
                { "righttoppoint", "86,4" }, { "leftbottompoint", "4,21" }, { "rightbottompoint", "86,21" },
                { "clientrect", "4,4,86,21" }, { "leftstretch", "1" }, { "topstretch", "1" },
                { "rightstretch", "1" }, { "bottomstretch", "1" }, { "stretcheffect", "1" },
                { "activeskinrect", "90,0,180,25" },
                { "downskinrect", "180,0,270,25" }, { "fontname", "DejaVu Sans" }, { "fontheight", "13" },
                { "morphing", "1" } });
        auto* skin = new TspSkinData(Application);
        skin->LoadFromFile(fixture.Write());
        auto* form = TCustomForm::Create<TForm>(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 800, 600);
        std::vector<TRect> areas { Rect(0, 0, 800, 600) };
        TMorphingButton* first = nullptr;
        for (int i = 0; i < 40; ++i) {
            auto* button = new TMorphingButton(form);
            button->SetParent(form);
            button->SetSkinData(skin);
            button->SetBounds(10 + (i % 5) * 110, 10 + (i / 5) * 40, 100, 30);
            button->SetCaption("Button " + std::to_string(i));
            areas.push_back(button->BoundsRect());
            if (!first)
                first = button;
        }
        form->Show();
        Application->ProcessMessages();
        const HWND window = form->Handle();
        const double ours = PerCall(20, [&] {
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        });
        Report("form_40_buttons_800x600", ours, BlitAreas(areas, 800, 600));

        int step = 0;
        const double morph = PerCall(200, [&] { first->PaintMorphFrame(0.1 + (step++ % 8) / 10.0); });
        Report("button_hot_morph_frame_100x30", morph, BlitAreas({ first->BoundsRect() }, 800, 600));
    }
    FinalizeForms();
    backend.Uninstall();
    return 0;
}
